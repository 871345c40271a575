#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTimer>

#include "app/ui/widgets/hot_key_edit.h"
#include "tests/app/app_fixture.h"

namespace parlino {
namespace {

using testing::AppFixture;
using testing::Control;
using testing::ReadBytes;
using testing::WriteBytes;

TEST(Settings, NewAccountGetsEveryDefault) {
  AppFixture app;
  app.Catalogue();
  auto& form = app.Form();
  form.LoadCfg();

  EXPECT_EQ(ReadBytes(app.Cfg()), "[General]\r\nFirstRun=0\r\n");
  EXPECT_EQ(app.autostart.command, u"/opt/parlino/parlino -autostart");
  EXPECT_TRUE(form.IsFirstRun);
  EXPECT_TRUE(form.ShowWelcome);
  EXPECT_FALSE(form.PlacementPending);

  EXPECT_EQ(Control<app::THotKeyEdit>(form, "Reading_HotKey")->text(), "Ctrl+BkSp");
  EXPECT_EQ(Control<app::THotKeyEdit>(form, "Options_HotKey")->text(), "Ctrl+F11");
  EXPECT_EQ(Control<app::THotKeyEdit>(form, "Stop_HotKey")->text(), "Ctrl+F12");
  EXPECT_TRUE(Control<QCheckBox>(form, "TrayIcon_CheckBox")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(form, "ReadByMouse")->isChecked());
  EXPECT_FALSE(Control<QCheckBox>(form, "IgnoreCharacters_CheckBox")->isChecked());
  EXPECT_EQ(Control<QLineEdit>(form, "Ignored_Characters")->text(), "*\\/\"`_~:'");
  EXPECT_FALSE(Control<QCheckBox>(form, "WordsCorr_CheckBox")->isChecked());
  EXPECT_TRUE(Control<QCheckBox>(form, "AutoStart_CheckBox")->isChecked());

  EXPECT_EQ(Control<QSlider>(form, "Speed_Bar")->value(), 0);
  EXPECT_EQ(Control<QLineEdit>(form, "Edit1")->text(), "180");
  EXPECT_EQ(Control<QSlider>(form, "Pitch_Bar")->value(), -2);
  EXPECT_EQ(Control<QLineEdit>(form, "Edit2")->text(), "150");
  EXPECT_EQ(Control<QLineEdit>(form, "Edit3")->text(), "100");
  EXPECT_EQ(Control<QListWidget>(form, "VoicesList")->currentRow(), 0);

  // The three hot keys are registered and the middle-button poll runs.
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_TRUE(app.hotKeys.Holds(0x407A));
  EXPECT_TRUE(app.hotKeys.Holds(0x407B));
  EXPECT_TRUE(Control<QTimer>(form, "MouseTimer")->isActive());

  // The second load is no first run any more.
  form.LoadCfg();
  EXPECT_FALSE(form.IsFirstRun);
}

struct SliderCase {
  const char* stored;  // the [Speech] section's keys
  int speed, pitch, volume;
  const char* speedReadout;
};

void PrintTo(const SliderCase& c, std::ostream* os) {
  *os << c.stored;
}

class StoredSliders : public ::testing::TestWithParam<SliderCase> {};

TEST_P(StoredSliders, LoadToPositions) {
  AppFixture app;
  WriteBytes(app.Cfg(), std::string("[Speech]\r\nSAPIVersion=5\r\n") + GetParam().stored);
  app.Catalogue();
  app.Form().LoadCfg();
  EXPECT_EQ(Control<QSlider>(app.Form(), "Speed_Bar")->value(), GetParam().speed);
  EXPECT_EQ(Control<QSlider>(app.Form(), "Pitch_Bar")->value(), GetParam().pitch);
  EXPECT_EQ(Control<QSlider>(app.Form(), "Volume_Bar")->value(), GetParam().volume);
  EXPECT_EQ(Control<QLineEdit>(app.Form(), "Edit1")->text(), GetParam().speedReadout);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredSliders,
    ::testing::Values(SliderCase{"", 0, -2, 100, "180"},
                      SliderCase{"Speed=777\r\nPitch=777\r\n", 0, -2, 100, "180"},
                      SliderCase{"Speed=135\r\nPitch=105\r\nVolume=40\r\n", -3, -5, 40, "135"},
                      SliderCase{"Speed=330\r\nPitch=30\r\n", 10, -10, 100, "330"},
                      SliderCase{"Speed=37\r\n", -10, -2, 100, "30"},
                      SliderCase{"Speed=38\r\n", -9, -2, 100, "45"},
                      SliderCase{"Speed=400\r\n", 10, -2, 100, "330"},  // clamped by the slider
                      SliderCase{"Speed=$87\r\nPitch=0x69\r\n", -3, -5, 100, "135"},
                      SliderCase{"Speed=fast\r\n", 0, -2, 100, "180"}));

TEST(Settings, EverySliderPositionSurvivesSaveAndLoad) {
  for (int position = -10; position <= 10; ++position) {
    AppFixture app;
    app.Catalogue();
    auto& form = app.Form();
    form.LoadCfg();
    Control<QSlider>(form, "Speed_Bar")->setValue(position);
    Control<QSlider>(form, "Pitch_Bar")->setValue(-position);
    Control<QSlider>(form, "Volume_Bar")->setValue(position + 50);
    form.SaveCfg();

    AppFixture reloaded;
    std::filesystem::copy_file(app.Cfg(), reloaded.Cfg());
    reloaded.Catalogue();
    reloaded.Form().LoadCfg();
    EXPECT_EQ(Control<QSlider>(reloaded.Form(), "Speed_Bar")->value(), position);
    EXPECT_EQ(Control<QSlider>(reloaded.Form(), "Pitch_Bar")->value(), -position);
    EXPECT_EQ(Control<QSlider>(reloaded.Form(), "Volume_Bar")->value(), position + 50);
  }
}

TEST(Settings, SaveWritesEveryKeyAndTidiesTheFile) {
  AppFixture app;
  app.Catalogue();
  auto& form = app.Form();
  form.LoadCfg();
  Control<QListWidget>(form, "VoicesList")
      ->setCurrentRow(1);  // picking a voice gives it its starting values
  Control<app::THotKeyEdit>(form, "Reading_HotKey")->SetHotKey(0x2041);  // Shift+A
  Control<QCheckBox>(form, "ReadByMouse")->setChecked(false);
  Control<QLineEdit>(form, "Ignored_Characters")->setText("#@");
  form.SaveCfg();

  EXPECT_EQ(
      ReadBytes(app.Cfg()),
      "[General]\r\nFirstRun=0\r\nHotKey=8257\r\nOptHotKey=16506\r\nStopHotKey=16507\r\n"
      "MinimizeToTray=1\r\nReadByMouse=0\r\n\r\r\n"
      "[Pronunciation]\r\nIgnoreCharacters=0\r\nIgnoredCharacters=#@\r\nWordsCorrections=0\r\n"
      "[Speech]\r\nVoice=Bob\r\nSpeed=135\r\nPitch=105\r\nVolume=100\r\nSAPIVersion=5\r\n");
}

TEST(Settings, FlagsOfOtherWindowsAreNeverWrittenBySave) {
  AppFixture app;
  WriteBytes(app.Cfg(), "[General]\r\nFirstRun=0\r\nWelcomeDlg=1\r\nCloseMsg=1\r\n");
  app.Form().LoadCfg();
  EXPECT_FALSE(app.Form().ShowWelcome);
  app.Form().SaveCfg();
  EXPECT_EQ(app.Stored(u"General", u"WelcomeDlg"), u"1");
  EXPECT_EQ(app.Stored(u"General", u"CloseMsg"), u"1");
  EXPECT_EQ(app.Stored(u"General", u"FirstRun"), u"0");
}

TEST(Settings, UninstalledVoiceFallsBackToTheFirstEntry) {
  AppFixture app;
  WriteBytes(app.Cfg(), "[Speech]\r\nVoice=Zoe\r\nSAPIVersion=5\r\n");
  app.Catalogue();
  app.Form().LoadCfg();
  EXPECT_EQ(Control<QListWidget>(app.Form(), "VoicesList")->currentRow(), 0);
  app.Form().SaveCfg();
  EXPECT_EQ(app.Stored(u"Speech", u"Voice"), u"Anna");
}

TEST(Settings, SavedVoiceIsFoundWithoutRegardToCase) {
  AppFixture app;
  WriteBytes(app.Cfg(), "[Speech]\r\nVoice=BOB\r\n");
  app.Catalogue();
  app.Form().LoadCfg();
  EXPECT_EQ(Control<QListWidget>(app.Form(), "VoicesList")->currentRow(), 1);
}

TEST(Settings, EmptyCatalogueLoadsTheRestOfTheSettings) {
  AppFixture app;
  WriteBytes(app.Cfg(), "[General]\r\nFirstRun=0\r\nReadByMouse=0\r\n");
  app.autostart.command = u"/old/parlino -autostart";
  app.Form().LoadCfg();
  EXPECT_EQ(Control<QListWidget>(app.Form(), "VoicesList")->currentRow(), -1);
  EXPECT_TRUE(app.hotKeys.Holds(0x4008));
  EXPECT_FALSE(Control<QTimer>(app.Form(), "MouseTimer")->isActive());
  EXPECT_TRUE(Control<QCheckBox>(app.Form(), "AutoStart_CheckBox")->isChecked());
}

TEST(Settings, RunValueFollowsTheCheckBox) {
  AppFixture app;
  app.Form().LoadCfg();
  Control<QCheckBox>(app.Form(), "AutoStart_CheckBox")->setChecked(false);
  app.Form().SaveCfg();
  EXPECT_EQ(app.autostart.command, std::nullopt);

  // Checking it again registers the program where it is now.
  app.context.programPath = "/moved/parlino";
  Control<QCheckBox>(app.Form(), "AutoStart_CheckBox")->setChecked(true);
  app.Form().SaveCfg();
  EXPECT_EQ(app.autostart.command, u"/moved/parlino -autostart");

  app.autostart.command = u"";  // an empty entry means off
  app.Form().LoadCfg();
  EXPECT_FALSE(Control<QCheckBox>(app.Form(), "AutoStart_CheckBox")->isChecked());
}

TEST(Settings, FailedSaveIsAbandonedSilently) {
  AppFixture app;
  app.Form().LoadCfg();
  app.autostart.command = u"keep";
  Control<QCheckBox>(app.Form(), "AutoStart_CheckBox")->setChecked(false);
  std::filesystem::remove(app.Cfg());
  std::filesystem::create_directory(app.Cfg());  // cfg.ini cannot be written now
  app.Form().SaveCfg();
  EXPECT_EQ(app.autostart.command, u"keep");  // the save stopped before the Run value
}

TEST(Settings, RefusedAutostartDoesNotStopTheFirstLoad) {
  AppFixture app;
  app.autostart.failWrites = true;
  app.Form().LoadCfg();
  EXPECT_EQ(app.Stored(u"General", u"FirstRun"), u"0");
  EXPECT_FALSE(Control<QCheckBox>(app.Form(), "AutoStart_CheckBox")->isChecked());
}

TEST(Settings, HotKeyHeldByAnotherProgramStaysInactive) {
  AppFixture app;
  app.hotKeys.refused = {0x4008};
  app.Form().LoadCfg();
  EXPECT_FALSE(app.Form().DefaultHotKey.Active());
  EXPECT_TRUE(app.Form().OptionsHotKey.Active());
  EXPECT_TRUE(app.boxes.shown.empty());
}

TEST(Settings, ValueOutsideTheCodePageSurvivesOnThisPlatform) {
  // Files here are UTF-8, so no character is lost on the way.
  AppFixture app;
  app.Form().LoadCfg();
  Control<QLineEdit>(app.Form(), "Ignored_Characters")
      ->setText(QString::fromUtf8("\xE2\x80\x9C\xE2\x80\x9D\xD0\x96"));
  app.Form().SaveCfg();
  Control<QLineEdit>(app.Form(), "Ignored_Characters")->clear();
  app.Form().LoadCfg();
  EXPECT_EQ(Control<QLineEdit>(app.Form(), "Ignored_Characters")->text(),
            QString::fromUtf8("\xE2\x80\x9C\xE2\x80\x9D\xD0\x96"));
}

}  // namespace
}  // namespace parlino
