// The corrections list on the options window: loaded with the settings, saved with them, read by
// every reading, and tried out on the engines a reading uses.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QTimer>

#include "app/ui/pages/default_voice_page.h"
#include "app/ui/pages/pronunciation_page.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using ::testing::Contains;
using testing::Control;
using ::testing::ElementsAre;

constexpr char kDrLine[] = "Dr###***###Doctor###***###Yes\r\n";

TEST(PronunciationPage, HoldsTheSwitchesAboveTheList) {
  AppFixture app;
  auto& form = app.Form();
  EXPECT_EQ(Control<QCheckBox>(form, "IgnoreCharacters_CheckBox")->text(), "I&gnore characters");
  EXPECT_EQ(Control<QLineEdit>(form, "Ignored_Characters")->toolTip(),
            "This characters will be ignored when reading");
  EXPECT_EQ(Control<QCheckBox>(form, "WordsCorr_CheckBox")->text(), "&Pronunciation corrections:");
  EXPECT_NE(Control<QTableView>(form, "Words_Table"), nullptr);
}

TEST(PronunciationPage, EveryReadingAppliesTheListLoadedWithTheSettings) {
  AppFixture app;
  testing::WriteBytes(app.dir / "words.ini", kDrLine);
  testing::WriteBytes(app.Cfg(), "[Pronunciation]\r\nWordsCorrections=1\r\n");
  auto& form = app.Form();
  form.FormCreate();
  ASSERT_EQ(form.Pronunciation().Corrections().size(), 1u);

  app.clipboard.reads = {u"Dr Smith"};
  ASSERT_TRUE(app.hotKeys.Press(0x4008));
  EXPECT_THAT(app.voices.log, Contains("Speak Doctor Smith 1"));

  // A change of the file shows when the window is shown again; the switch counts at once.
  testing::WriteBytes(app.dir / "words.ini", "Smith###***###Jones###***###No\r\n");
  form.show();
  Control<QCheckBox>(form, "WordsCorr_CheckBox")->setChecked(false);
  app.clipboard.reads = {u"Dr Smith"};
  app.hotKeys.Press(0x4008);
  EXPECT_EQ(app.voices.log.back(), "Speak Dr Smith 1");
  Control<QCheckBox>(form, "WordsCorr_CheckBox")->setChecked(true);
  app.clipboard.reads = {u"Dr Smith"};
  app.hotKeys.Press(0x4008);
  EXPECT_EQ(app.voices.log.back(), "Speak Dr Jones 1");
}

TEST(PronunciationPage, OkAndExitSaveTheList) {
  AppFixture app;
  testing::WriteBytes(app.dir / "words.ini", kDrLine);
  auto& form = app.Form();
  form.FormCreate();
  std::filesystem::remove(app.dir / "words.ini");
  form.show();  // a missing file leaves the list as it is
  Control<QPushButton>(form, "btnOK")->click();
  EXPECT_EQ(testing::ReadBytes(app.dir / "words.ini"), kDrLine);

  std::filesystem::remove(app.dir / "words.ini");
  form.Exit1Click();
  EXPECT_EQ(testing::ReadBytes(app.dir / "words.ini"), kDrLine);
}

// The cause and the file are shown, and the rest of the start goes on.
TEST(PronunciationPage, AnUnreadableFileIsReportedWithoutStoppingTheStart) {
  AppFixture app;
  std::filesystem::create_directory(app.dir / "words.ini");
  auto& form = app.Form();
  form.FormCreate();
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_EQ(app.boxes.shown[0].text, FromUtf8("Cannot read \"" + (app.dir / "words.ini").string() +
                                              "\": it is a folder, not a file."));
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_TRUE(Control<QSystemTrayIcon>(form, "TrayIcon")->isVisible() ||
              !QSystemTrayIcon::isSystemTrayAvailable());
}

TEST(PronunciationPage, TheTrialsSpeakOnTheDefaultVoiceWithItsPitch) {
  AppFixture app;
  testing::WriteBytes(app.dir / "words.ini", kDrLine);
  auto& form = app.Form();
  form.FormCreate();
  Control<QSlider>(form, "Pitch_Bar")->setValue(4);
  app.voices.log.clear();
  // The list's Test cuts off what is playing; the editor's waits for it.
  form.DefaultVoice().SpeakPronunciation(u"Doctor", true);
  form.DefaultVoice().SpeakPronunciation(u"Doctor", false);
  EXPECT_THAT(
      app.voices.log,
      ElementsAre("GetVoices", "SetVoice Anna", "SetRate 0", "SetVolume 100", "Speak  2",
                  "Speak  2", "Speak <pitch middle=\"4\">Doctor 1", "GetVoices", "SetVoice Anna",
                  "SetRate 0", "SetVolume 100", "Speak <pitch middle=\"4\">Doctor 1"));
}

// The page's Test button speaks the selected row's pronunciation like a reading: the tray icon
// moves while it plays.
TEST(PronunciationPage, TheTestButtonAnimatesTheTrayLikeAReading) {
  AppFixture app;
  testing::WriteBytes(app.dir / "words.ini", kDrLine);
  auto& form = app.Form();
  form.FormCreate();
  Control<QTableView>(form, "Words_Table")->selectRow(0);
  Control<QPushButton>(form, "BitBtn11")->click();
  ASSERT_EQ(app.voices.voice()->queued.size(), 1u);
  EXPECT_EQ(app.voices.voice()->queued.front().text, u"<pitch middle=\"-2\">Doctor");

  app.voices.voice()->PostStart(app.voices.voice()->queued.front().number);
  app.pump.ProcessPendingMessages();
  EXPECT_TRUE(Control<QTimer>(form, "TrayAnimation_Timer")->isActive());
  app.voices.voice()->PlayAll();
  app.pump.ProcessPendingMessages();
  EXPECT_FALSE(Control<QTimer>(form, "TrayAnimation_Timer")->isActive());
}

TEST(PronunciationPage, TheTrialOnALegacyVoiceStopsItFirst) {
  AppFixture app;
  app.legacyEngines.modes = {testing::MakeFakeMode("Mary in Stereo", "Mary")};
  app.voices.voices.clear();
  auto& form = app.Form();
  form.FormCreate();
  form.DefaultVoice().SpeakPronunciation(u"caf\u00E9", true);
  const auto& instance = *app.legacyEngines.instances.back();
  EXPECT_THAT(instance.texts, ElementsAre(std::string("caf\xE9\0", 5)));
  EXPECT_THAT(instance.calls, Contains("AudioReset"));
}

}  // namespace
}  // namespace parlino
