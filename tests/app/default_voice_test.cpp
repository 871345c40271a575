// The voice catalogue and the "Default voice" tab, over fake engines of both generations.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>

#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::Control;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeLegacyMode;
using testing::MakeFakeMode;

// Mary: speed 60..450 at 170, pitch 50..250 at 120, volume as a 50 % setting leaves it.
FakeLegacyMode Mary() {
  FakeLegacyMode mode = MakeFakeMode("Mary in Stereo", "Mary");
  mode.volume = 2147450879u;
  mode.info.engineId.data1 = 0x12345678;
  return mode;
}

FakeLegacyMode Mike() {
  FakeLegacyMode mode = MakeFakeMode("Mike", "Michael");
  mode.speed = {100, 300, 150};
  mode.pitch = {80, 160, 100};
  return mode;
}

std::vector<std::string> Names(const QListWidget* list) {
  std::vector<std::string> names;
  for (int row = 0; row < list->count(); ++row)
    names.push_back(list->item(row)->text().toStdString());
  return names;
}

struct Readouts {
  std::string speed, pitch, volume;
  friend bool operator==(const Readouts&, const Readouts&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Readouts& r) {
    return os << r.speed << "/" << r.pitch << "/" << r.volume;
  }
};

Readouts ReadoutsOf(const app::TfrmMain& form) {
  return {Control<QLineEdit>(form, "Edit1")->text().toStdString(),
          Control<QLineEdit>(form, "Edit2")->text().toStdString(),
          Control<QLineEdit>(form, "Edit3")->text().toStdString()};
}

// What the modern voice objects were told, leaving out their creation, release and listing.
std::vector<std::string> VoiceSettings(const testing::FakeVoiceServer& server) {
  std::vector<std::string> settings;
  for (const std::string& entry : server.log) {
    if (entry != "CreateVoice" && entry != "Release" && entry != "GetVoices")
      settings.push_back(entry);
  }
  return settings;
}

// The last `count` calls an engine instance received.
std::vector<std::string> LastCalls(const testing::FakeLegacyInstance& instance, std::size_t count) {
  const auto& calls = instance.calls;
  return {calls.end() - static_cast<std::ptrdiff_t>(std::min(count, calls.size())), calls.end()};
}

// What the user does with the mouse and the keyboard.
void ClickRow(QListWidget* list, int row) {
  list->doItemsLayout();
  const QPoint at = list->visualItemRect(list->item(row)).center();
  QMouseEvent press(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, list->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &release);
}

void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent event(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(widget, &event);
}

void FocusIn(QWidget* widget, Qt::FocusReason reason) {
  QFocusEvent event(QEvent::FocusIn, reason);
  QApplication::sendEvent(widget, &event);
}

struct CatalogueCase {
  const char* name;
  std::vector<FakeLegacyMode> modes;
  std::vector<Text> voices;
  bool sapi5Available;
  std::vector<std::string> listed;
  int initial;
  Readouts shown;  // the initial entry applied
};

void PrintTo(const CatalogueCase& c, std::ostream* os) {
  *os << c.name;
}

FakeLegacyMode WithSpeaker(const std::string& mode, const std::string& speaker,
                           bool failsToSelect = false) {
  FakeLegacyMode result = MakeFakeMode(mode, speaker);
  result.failsToSelect = failsToSelect;
  return result;
}

class Catalogue : public ::testing::TestWithParam<CatalogueCase> {};

TEST_P(Catalogue, ListsBothGenerationsAndAppliesTheInitialEntry) {
  AppFixture app;
  app.legacyEngines.modes = GetParam().modes;
  app.voices.voices = GetParam().voices;
  app.Form().Sapi5Available = GetParam().sapi5Available;
  auto& form = app.Catalogue();
  EXPECT_THAT(Names(Control<QListWidget>(form, "VoicesList")), ElementsAreArray(GetParam().listed));
  EXPECT_EQ(form.DefaultVoice().SelectedVoiceIndex(), GetParam().initial);
  EXPECT_EQ(ReadoutsOf(form), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Catalogue,
    ::testing::Values(
        CatalogueCase{"BothGenerationsStartOnTheFirstModernVoice",
                      {WithSpeaker("Mary in Stereo", "Mary"), WithSpeaker("Abcd", "Wxyz"),
                       WithSpeaker("Eve", ""), WithSpeaker("Broken", "B", true)},
                      {u"Anna", u""},
                      true,
                      {"Mary", "Abcd", "", "Broken", "Anna (SAPI5)", " (SAPI5)"},
                      4,
                      {"135", "105", "100"}},
        CatalogueCase{"LegacyOnlyStartsOnTheFirstEntry",
                      {Mary()},
                      {},
                      true,
                      {"Mary"},
                      0,
                      {"170", "120", "49"}},
        CatalogueCase{"ModernOnly",
                      {},
                      {u"Anna", u"Bob"},
                      true,
                      {"Anna (SAPI5)", "Bob (SAPI5)"},
                      0,
                      {"135", "105", "100"}},
        CatalogueCase{
            "ModernSwitchedOff", {Mary()}, {u"Anna"}, false, {"Mary"}, 0, {"170", "120", "49"}},
        CatalogueCase{"Neither", {}, {}, true, {}, -1, {"0", "0", "0"}},
        // The second mode of the same name is selected as the first, so it shows its speaker.
        CatalogueCase{
            "DuplicateModeNames",
            {WithSpeaker("Mary in Stereo", "Mary"), WithSpeaker("Mary in Stereo", "Mary Two")},
            {},
            true,
            {"Mary", "Mary"},
            0,
            {"170", "120", "100"}}));

TEST(DefaultVoice, SwitchingGenerationsChangesScalesAndStartingValues) {
  AppFixture app;
  app.legacyEngines.modes = {Mary(), Mike()};
  app.voices.voices = {u"Anna"};
  auto& form = app.Catalogue();
  EXPECT_TRUE(form.DefaultVoice().Sapi5Scales());
  // The voice gets rate -2 while the slider shows -3, the value the next speech sends.
  EXPECT_THAT(VoiceSettings(app.voices), ElementsAre("SetRate -2", "SetVolume 100"));
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->value(), -3);

  Control<QListWidget>(form, "VoicesList")->setCurrentRow(1);  // Mike
  EXPECT_FALSE(form.DefaultVoice().Sapi5Scales());
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->minimum(), 100);
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->maximum(), 300);
  EXPECT_EQ(Control<QSlider>(form, "Pitch_Bar")->minimum(), 80);
  EXPECT_EQ(Control<QSlider>(form, "Pitch_Bar")->maximum(), 160);
  EXPECT_EQ(Control<QSlider>(form, "Volume_Bar")->maximum(), 100);
  EXPECT_EQ(ReadoutsOf(form), (Readouts{"150", "100", "100"}));

  Control<QListWidget>(form, "VoicesList")
      ->setCurrentRow(0);  // Mary, whose volume reads back as 49
  EXPECT_EQ(ReadoutsOf(form), (Readouts{"170", "120", "49"}));
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->maximum(), 450);

  Control<QListWidget>(form, "VoicesList")->setCurrentRow(2);  // back to Anna
  EXPECT_TRUE(form.DefaultVoice().Sapi5Scales());
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->minimum(), -10);
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->maximum(), 10);
  EXPECT_EQ(ReadoutsOf(form), (Readouts{"135", "105", "100"}));
  EXPECT_EQ(Control<QSlider>(form, "Volume_Bar")->value(), 100);
}

TEST(DefaultVoice, ReadoutsFollowTheScale) {
  AppFixture app;
  auto& form = app.Catalogue();
  for (const auto& [position, shown] : {std::pair{-10, "30"}, {0, "180"}, {10, "330"}}) {
    Control<QSlider>(form, "Speed_Bar")->setValue(position);
    Control<QSlider>(form, "Pitch_Bar")->setValue(position);
    EXPECT_EQ(Control<QLineEdit>(form, "Edit1")->text().toStdString(), shown);
    EXPECT_EQ(Control<QLineEdit>(form, "Edit2")->text().toStdString(), shown);
  }
  Control<QSlider>(form, "Volume_Bar")->setValue(37);
  EXPECT_EQ(Control<QLineEdit>(form, "Edit3")->text(), "37");
}

TEST(DefaultVoice, ZeroSpeedOnAModernScaleReadsRightAfterSwitchingToALegacyVoice) {
  // A slider position that the switch leaves where it was must still be shown on the new scale.
  FakeLegacyMode zero = MakeFakeMode("Zero", "");
  zero.speed = {0, 400, 0};
  AppFixture app;
  app.legacyEngines.modes = {zero};
  auto& form = app.Catalogue();
  Control<QSlider>(form, "Speed_Bar")->setValue(0);
  EXPECT_EQ(Control<QLineEdit>(form, "Edit1")->text(), "180");
  Control<QListWidget>(form, "VoicesList")->setCurrentRow(0);
  EXPECT_EQ(Control<QLineEdit>(form, "Edit1")->text(), "0");
}

TEST(DefaultVoice, DuplicateModeNamesBothApplyTheFirstMode) {
  FakeLegacyMode second = Mike();
  second.info.modeName = "Mary in Stereo";
  AppFixture app;
  app.legacyEngines.modes = {Mary(), second};
  auto& form = app.Catalogue();
  Control<QListWidget>(form, "VoicesList")->setCurrentRow(1);
  EXPECT_EQ(app.legacyEngines.instances.back()->mode.info.speaker, "Mary");
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->maximum(), 450);
  form.DefaultVoice().SelectDefaultVoice();
  EXPECT_EQ(app.legacyEngines.instances.back()->mode.info.speaker, "Mary");
}

TEST(DefaultVoice, ModernVoiceGetsTheTabsValuesAndNeverVolumeZero) {
  AppFixture app;
  auto& form = app.Catalogue();
  Control<QListWidget>(form, "VoicesList")->setCurrentRow(1);  // Bob
  Control<QSlider>(form, "Speed_Bar")->setValue(4);
  Control<QSlider>(form, "Volume_Bar")->setValue(0);
  app.voices.log.clear();
  form.DefaultVoice().SelectDefaultVoice();
  EXPECT_THAT(VoiceSettings(app.voices), ElementsAre("SetVoice Bob", "SetRate 4", "SetVolume 100"));
}

TEST(DefaultVoice, LegacyVoiceGetsSpeedPitchAndVolumeOnAFreshInstance) {
  AppFixture app;
  app.legacyEngines.modes = {Mary()};
  app.voices.voices.clear();
  auto& form = app.Catalogue();
  Control<QSlider>(form, "Speed_Bar")->setValue(300);
  Control<QSlider>(form, "Pitch_Bar")->setValue(200);
  Control<QSlider>(form, "Volume_Bar")->setValue(50);
  const std::size_t before = app.legacyEngines.instances.size();
  form.DefaultVoice().SelectDefaultVoice();
  ASSERT_EQ(app.legacyEngines.instances.size(), before + 1);
  EXPECT_THAT(LastCalls(*app.legacyEngines.instances.back(), 6),
              ElementsAre("Inject \\Spd=300\\", "SpeedSet 300", "Inject \\Pit=200\\",
                          "PitchSet 200", "Inject \\Vol=2147450879\\", "VolumeSet 2147450879"));
  EXPECT_EQ(form.SpeechAPI4.GetVolume(), 49);  // 50 % reads back as 49
}

TEST(DefaultVoice, LegacySpeedLeftAtZeroIsHalfTheEnginesSpan) {
  // The settings loader can select a legacy voice while the sliders still hold modern values.
  AppFixture app;
  app.legacyEngines.modes = {Mary()};
  app.voices.voices = {u"Anna"};
  auto& form = app.Catalogue();
  Control<QSlider>(form, "Speed_Bar")->setValue(0);
  Control<QSlider>(form, "Pitch_Bar")->setValue(0);  // a pitch of 0 takes the read-out, here 180
  Control<QSlider>(form, "Volume_Bar")->setValue(0);
  form.DefaultVoice().SelectVoiceQuietly(0);
  form.DefaultVoice().SelectDefaultVoice();
  // (450 - 60) / 2, not the midpoint 255; volume 0 counts as unset.
  EXPECT_THAT(LastCalls(*app.legacyEngines.instances.back(), 6),
              ElementsAre("Inject \\Spd=195\\", "SpeedSet 195", "Inject \\Pit=180\\",
                          "PitchSet 180", "Inject \\Vol=4294967295\\", "VolumeSet 4294967295"));
}

TEST(DefaultVoice, NoEntryIsNoVoiceToReady) {
  AppFixture app;
  app.voices.voices.clear();
  auto& form = app.Catalogue();
  EXPECT_THROW(form.DefaultVoice().SelectDefaultVoice(), std::exception);
}

TEST(DefaultVoice, AfterATabChangeOnlyAClickAppliesAVoice) {
  AppFixture app;
  auto& form = app.Catalogue();
  form.show();
  Control<QSlider>(form, "Speed_Bar")->setValue(7);  // as the settings left it
  Control<QTabWidget>(form, "Pages")->setCurrentIndex(1);
  EXPECT_TRUE(form.DefaultVoice().VoiceChangeSuppressed);

  Control<QListWidget>(form, "VoicesList")->doItemsLayout();
  PressKey(Control<QListWidget>(form, "VoicesList"), Qt::Key_Down);
  EXPECT_EQ(form.DefaultVoice().SelectedVoiceIndex(), 1);
  FocusIn(Control<QListWidget>(form, "VoicesList"), Qt::TabFocusReason);
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->value(), 7);

  ClickRow(Control<QListWidget>(form, "VoicesList"), 0);
  EXPECT_FALSE(form.DefaultVoice().VoiceChangeSuppressed);
  EXPECT_EQ(form.DefaultVoice().SelectedVoiceIndex(), 0);
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->value(), -3);

  // Without the mark, entering the list applies the selected entry again.
  Control<QSlider>(form, "Speed_Bar")->setValue(7);
  FocusIn(Control<QListWidget>(form, "VoicesList"), Qt::TabFocusReason);
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->value(), -3);
  // Coming back with the window is no entering.
  Control<QSlider>(form, "Speed_Bar")->setValue(7);
  FocusIn(Control<QListWidget>(form, "VoicesList"), Qt::ActiveWindowFocusReason);
  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->value(), 7);
}

TEST(DefaultVoice, CtrlAltF1ShowsTheLastLegacyEngine) {
  struct Case {
    std::vector<FakeLegacyMode> modes;
    Qt::KeyboardModifiers held;
    std::optional<Text> shown;
  };
  const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
  for (const Case& c :
       {Case{{Mary()}, ctrlAlt, u"{12345678-0000-0000-0000-000000000000}"},
        Case{{}, ctrlAlt, u""},  // no legacy engine selected yet
        Case{{Mary()}, ctrlAlt | Qt::KeypadModifier, u"{12345678-0000-0000-0000-000000000000}"},
        Case{{Mary()}, ctrlAlt | Qt::ShiftModifier, std::nullopt},
        Case{{Mary()}, Qt::ControlModifier, std::nullopt}}) {
    AppFixture app;
    app.legacyEngines.modes = c.modes;
    auto& form = app.Catalogue();  // a modern voice is selected
    PressKey(Control<QListWidget>(form, "VoicesList"), Qt::Key_F1, c.held);
    if (!c.shown) {
      EXPECT_TRUE(app.boxes.shown.empty());
      continue;
    }
    ASSERT_EQ(app.boxes.shown.size(), 1u);
    EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Plain);
    EXPECT_EQ(app.boxes.shown[0].text, *c.shown);
    EXPECT_EQ(app.boxes.shown[0].buttons, platform::BoxButtons::Ok);
  }
}

TEST(VoiceTest, ModernVoicePurgesThenSpeaksThePitchMarkupAndTheTrimmedText) {
  struct Case {
    const char* typed;
    int pitch;
    const char* spoken;
  };
  for (const Case& c :
       {Case{"  hello  ", -5, "<pitch middle=\"-5\">hello"},
        Case{"", 0, "<pitch middle=\"0\">This is a test for selected voice."},
        Case{" \t ", 3, "<pitch middle=\"3\">This is a test for selected voice."}}) {
    AppFixture app;
    auto& form = app.Catalogue();
    Control<QLineEdit>(form, "editTestText")->setText(c.typed);
    Control<QSlider>(form, "Pitch_Bar")->setValue(c.pitch);
    app.voices.log.clear();
    Control<QPushButton>(form, "btnTestVoice")->click();
    EXPECT_THAT(VoiceSettings(app.voices),
                ElementsAre("SetVoice Anna", "SetRate -3", "SetVolume 100", "Speak  2",
                            "Speak " + std::string(c.spoken) + " 1"))
        << c.typed;
    EXPECT_TRUE(app.boxes.shown.empty());
  }
}

TEST(VoiceTest, LegacyVoiceSpeaksTheTextInTheAnsiCodePage) {
  AppFixture app;
  app.legacyEngines.modes = {Mary()};
  app.voices.voices.clear();
  auto& form = app.Catalogue();
  Control<QLineEdit>(form, "editTestText")
      ->setText(QString::fromUtf8(" Gr\xC3\xB6\xC3\x9F"
                                  "e\n"));
  Control<QPushButton>(form, "btnTestVoice")->click();
  EXPECT_THAT(app.legacyEngines.instances.back()->texts, ElementsAre(std::string("Gr\xF6\xDF"
                                                                                 "e\0",
                                                                                 6)));
}

TEST(DefaultVoice, EngineErrorsOfTheUsersActionsAreShownWithTheirText) {
  AppFixture app;
  auto& form = app.Catalogue();
  app.voices.failing = {"SetRate"};
  Control<QListWidget>(form, "VoicesList")->setCurrentRow(1);
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].kind, platform::BoxKind::Error);
  EXPECT_EQ(app.boxes.shown[0].text, u"SetRate failed");
  EXPECT_EQ(form.DefaultVoice().SelectedVoiceIndex(), 1);  // the list keeps the selection

  app.voices.failing = {"Speak"};
  Control<QPushButton>(form, "btnTestVoice")->click();
  ASSERT_EQ(app.boxes.shown.size(), 2u);
  EXPECT_EQ(app.boxes.shown[1].text, u"Speak failed");
}

TEST(DefaultVoice, FailingModernVoiceListEndsTheStartupWithTheEntriesSoFar) {
  AppFixture app;
  app.legacyEngines.modes = {Mary()};
  app.voices.itemFailsAt = 1;
  auto& form = app.Form();
  form.FormCreate();
  EXPECT_THAT(Names(Control<QListWidget>(form, "VoicesList")), ElementsAre("Mary", "Anna (SAPI5)"));
  EXPECT_EQ(form.DefaultVoice().SelectedVoiceIndex(), -1);
  ASSERT_EQ(app.boxes.shown.size(), 1u);
  EXPECT_EQ(app.boxes.shown[0].text, u"Fake voice index out of range");
  EXPECT_FALSE(std::filesystem::exists(app.Cfg()));  // the settings were not loaded
}

struct RoundTripCase {
  const char* name;
  std::vector<FakeLegacyMode> modes;
  std::vector<Text> voices;
  int row;
  int speed, pitch, volume;
  Readouts stored;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.name;
}

class DefaultVoiceSettings : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(DefaultVoiceSettings, SurviveSaveAndTheNextStart) {
  const RoundTripCase& c = GetParam();
  AppFixture app;
  app.legacyEngines.modes = c.modes;
  app.voices.voices = c.voices;
  app.Form().FormCreate();
  auto& form = app.Form();
  Control<QListWidget>(form, "VoicesList")->setCurrentRow(c.row);
  Control<QSlider>(form, "Speed_Bar")->setValue(c.speed);
  Control<QSlider>(form, "Pitch_Bar")->setValue(c.pitch);
  Control<QSlider>(form, "Volume_Bar")->setValue(c.volume);
  ASSERT_EQ(ReadoutsOf(form), c.stored);
  form.SaveCfg();

  AppFixture next;
  next.legacyEngines.modes = c.modes;
  next.voices.voices = c.voices;
  std::filesystem::copy_file(app.Cfg(), next.Cfg());
  next.Form().FormCreate();
  auto& restored = next.Form();
  EXPECT_EQ(restored.DefaultVoice().SelectedVoiceIndex(), c.row);
  EXPECT_EQ(Control<QSlider>(restored, "Speed_Bar")->value(), c.speed);
  EXPECT_EQ(Control<QSlider>(restored, "Pitch_Bar")->value(), c.pitch);
  EXPECT_EQ(Control<QSlider>(restored, "Volume_Bar")->value(), c.volume);
  EXPECT_EQ(ReadoutsOf(restored), c.stored);
  EXPECT_TRUE(next.boxes.shown.empty());

  // And the voice speaks with them.
  restored.DefaultVoice().SelectDefaultVoice();
  if (c.row < static_cast<int>(c.modes.size())) {
    EXPECT_THAT(LastCalls(*next.legacyEngines.instances.back(), 5),
                ::testing::Contains("SpeedSet " + c.stored.speed));
  } else {
    EXPECT_THAT(next.voices.log, ::testing::Contains("SetRate " + std::to_string(c.speed)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultVoiceSettings,
    ::testing::Values(
        RoundTripCase{"Modern", {Mary()}, {u"Anna", u"Bob"}, 2, 4, -7, 30, {"240", "75", "30"}},
        RoundTripCase{"LegacyBesideModernVoices",
                      {Mary(), Mike()},
                      {u"Anna"},
                      1,
                      250,
                      90,
                      70,
                      {"250", "90", "70"}},
        RoundTripCase{"LegacyOnly", {Mary()}, {}, 0, 400, 60, 1, {"400", "60", "1"}}));

TEST(DefaultVoiceSettings, UninstalledModernVoiceLeavesALegacyEntryWithItsOwnValues) {
  AppFixture app;
  app.legacyEngines.modes = {Mike()};
  app.voices.voices = {u"Anna"};
  testing::WriteBytes(app.Cfg(), "[Speech]\r\nVoice=Zoe\r\nSpeed=135\r\nSAPIVersion=5\r\n");
  auto& form = app.Catalogue();
  form.LoadCfg();
  EXPECT_EQ(form.DefaultVoice().SelectedVoiceIndex(), 0);
  EXPECT_FALSE(form.DefaultVoice().Sapi5Scales());
  EXPECT_EQ(ReadoutsOf(form), (Readouts{"150", "100", "100"}));
}

}  // namespace
}  // namespace parlino
