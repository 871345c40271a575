// The Voice slots page in the options window: loaded by the start-up sequence between the voice
// catalogue and the settings, read by the reading controller, released at the end, and its editor
// fed from the Default voice page.
#include <gtest/gtest.h>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include "app/ui/pages/slots_page.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::Control;
using testing::WriteBytes;

constexpr std::uint16_t kCtrlAltG = 0xC047;
constexpr std::uint16_t kCtrlBackspace = 0x4008;

std::string Slot(int n, const std::string& voice, std::uint16_t hotKey, const std::string& speed,
                 const std::string& pitch, const std::string& volume) {
  return "[Slot_" + std::to_string(n) + "]\r\nVoice=" + voice +
         "\r\nHotKey=" + std::to_string(hotKey) + "\r\nSpeed=" + speed + "\r\nPitch=" + pitch +
         "\r\nVolume=" + volume + "\r\nSAPIVersion=5\r\n";
}

TEST(SlotsPage, TheStartLoadsTheSlotsBeforeTheSettingsAndTheirHotKeysRead) {
  AppFixture app;
  // The second slot wants the reading hot key: loaded first, it gets it.
  WriteBytes(app.dir / "slots.ini", Slot(0, "Bob", kCtrlAltG, "240", "105", "80") +
                                        Slot(1, "Anna", kCtrlBackspace, "180", "180", "100"));
  app.Form().FormCreate();
  auto* list = Control<QTableWidget>(app.Form(), "SlotsList");
  ASSERT_EQ(list->rowCount(), 2);
  EXPECT_EQ(list->item(0, 4)->text(), "Ctrl+Alt+G");
  EXPECT_FALSE(app.Form().DefaultHotKey.Active());

  app.clipboard.reads = {u"Hallo Welt"};
  app.voices.log.clear();
  ASSERT_TRUE(app.hotKeys.Press(kCtrlAltG));
  const auto& log = app.voices.log;
  const auto has = [&](const std::string& call) {
    return std::ranges::find(log, call) != log.end();
  };
  EXPECT_TRUE(has("SetVoice Bob"));
  EXPECT_TRUE(has("SetRate 4"));
  EXPECT_TRUE(has("SetVolume 80"));
  EXPECT_EQ(log.back(), "Speak <pitch middle=\"-5\">Hallo Welt 1");

  // Ctrl+Backspace belongs to the second slot: it reads with that slot's pitch markup.
  app.clipboard.reads = {u"Hello"};
  app.voices.log.clear();
  ASSERT_TRUE(app.hotKeys.Press(kCtrlBackspace));
  EXPECT_TRUE(has("SetVoice Anna"));
  EXPECT_EQ(log.back(), "Speak <pitch middle=\"0\">Hello 1");
}

TEST(SlotsPage, TheEndReleasesEverySlotHotKey) {
  AppFixture app;
  WriteBytes(app.dir / "slots.ini", Slot(0, "Bob", kCtrlAltG, "240", "105", "80"));
  app.Form().FormCreate();
  ASSERT_TRUE(app.hotKeys.Holds(kCtrlAltG));
  app.Form().Slots().BeforeCloseActions();
  EXPECT_FALSE(app.hotKeys.Holds(kCtrlAltG));
  EXPECT_TRUE(app.hotKeys.Holds(kCtrlBackspace));
}

TEST(SlotsPage, TheEditorListsTheCatalogueAndTestsTheDefaultVoicePagesText) {
  AppFixture app;
  app.Form().FormCreate();
  Control<QLineEdit>(app.Form(), "editTestText")->setText("  Probe  ");
  auto* panel = app.Form().findChild<voice_slots::TSlotsPanel*>("SlotsPanel");
  ASSERT_NE(panel, nullptr);
  QStringList voices;
  QTimer::singleShot(0, [&] {
    voice_slots::TfrmSlot& editor = panel->frmSlot();
    auto* list = Control<QListWidget>(editor, "VoicesList");
    for (int row = 0; row < list->count(); ++row) voices << list->item(row)->text();
    app.voices.log.clear();
    Control<QPushButton>(editor, "Button1")->click();
    editor.reject();
  });
  panel->BitBtn4Click();
  EXPECT_EQ(voices, QStringList({"Anna (SAPI5)", "Bob (SAPI5)"}));
  ASSERT_FALSE(app.voices.log.empty());
  EXPECT_EQ(app.voices.log.back(), "Speak <pitch middle=\"-5\">Probe</pitch> 1");
}

}  // namespace
}  // namespace parlino
