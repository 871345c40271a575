// Moving the settings between cfg.ini and the options window's controls.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include "app/settings/ini_file.h"
#include "app/settings/tidy_ini_file.h"
#include "app/ui/frm_main.h"
#include "app/ui/hot_key_edit.h"
#include "app/ui/qt_text.h"
#include "speech/catalogue/value_scales.h"

namespace parlino::app {
namespace {

constexpr TextView kGeneral = u"General";
constexpr TextView kPronunciation = u"Pronunciation";
constexpr TextView kSpeech = u"Speech";

constexpr std::int32_t kDefaultReadingHotKey = 0x4008;  // Ctrl+Backspace
constexpr std::int32_t kDefaultOptionsHotKey = 0x407A;  // Ctrl+F11
constexpr std::int32_t kDefaultStopHotKey = 0x407B;     // Ctrl+F12
constexpr TextView kDefaultIgnoredCharacters = u"*\\/\"`_~:'";
constexpr std::int32_t kMissing = 777;  // a stored modern speed or pitch of 777 counts as missing
constexpr TextView kSapi5Suffix = u" (SAPI5)";

std::uint16_t HotKeyCode(std::int32_t stored) {
  return static_cast<std::uint16_t>(stored);
}

std::int32_t ReadoutValue(const QLineEdit* readout) {
  const auto value = ParseInteger(FromQString(readout->text()));
  if (!value) throw std::invalid_argument("Not a number: " + readout->text().toStdString());
  return *value;
}

// Nothing selected: -1. A selection the program makes itself does not apply the voice.
void SelectQuietly(QListWidget* list, int row) {
  const QSignalBlocker blocker(list);
  list->setCurrentRow(row);
}

// The list's exact-match search, which ignores letter case.
int IndexOfName(const QListWidget* list, TextView name) {
  const QString wanted = ToQString(name);
  for (int row = 0; row < list->count(); ++row) {
    if (list->item(row)->text().compare(wanted, Qt::CaseInsensitive) == 0) return row;
  }
  return -1;
}

// The legacy engine's current value; 0 while no engine is selected.
template <typename Getter>
std::int32_t Sapi4Current(speech::TMSpeech& engine, Getter getter) {
  try {
    return static_cast<std::int32_t>((engine.*getter)());
  } catch (const std::exception&) {
    return 0;
  }
}

}  // namespace

void TfrmMain::LoadCfg() {
  IniFile ini(context_.profiles, CfgPath());

  IsFirstRun = ini.ReadBool(kGeneral, u"FirstRun", true);
  if (IsFirstRun) {
    // From the first run on the program starts with the desktop. A desktop that refuses the
    // entry is no reason to stop: the check box below then shows the truth.
    try {
      context_.autostart.Write(context_.programPath, u" -autostart");
    } catch (const std::exception&) {
    }
    ini.WriteBool(kGeneral, u"FirstRun", false);
  }

  Reading_HotKey->SetHotKey(
      HotKeyCode(ini.ReadInteger(kGeneral, u"HotKey", kDefaultReadingHotKey)));
  Options_HotKey->SetHotKey(
      HotKeyCode(ini.ReadInteger(kGeneral, u"OptHotKey", kDefaultOptionsHotKey)));
  Stop_HotKey->SetHotKey(HotKeyCode(ini.ReadInteger(kGeneral, u"StopHotKey", kDefaultStopHotKey)));
  TrayIcon_CheckBox->setChecked(ini.ReadBool(kGeneral, u"MinimizeToTray", true));
  ReadByMouse->setChecked(ini.ReadBool(kGeneral, u"ReadByMouse", true));
  ShowWelcome = !ini.ReadBool(kGeneral, u"WelcomeDlg", false);

  IgnoreCharacters_CheckBox->setChecked(ini.ReadBool(kPronunciation, u"IgnoreCharacters", false));
  Ignored_Characters->setText(
      ToQString(ini.ReadString(kPronunciation, u"IgnoredCharacters", kDefaultIgnoredCharacters)));
  WordsCorr_CheckBox->setChecked(ini.ReadBool(kPronunciation, u"WordsCorrections", false));

  LoadSliders(ini);
  SelectSavedVoice(ini);
  if (VoicesList->currentRow() < 0 && VoicesList->count() > 0) SelectQuietly(VoicesList, 0);

  DefaultHotKey.SetHotKey(Reading_HotKey->HotKey());
  OptionsHotKey.SetHotKey(Options_HotKey->HotKey());
  StopHotKey.SetHotKey(Stop_HotKey->HotKey());
  DefaultHotKey.SetActive(true);
  OptionsHotKey.SetActive(true);
  StopHotKey.SetActive(true);
  if (ReadByMouse->isChecked()) {
    MouseTimer->start();
  } else {
    MouseTimer->stop();
  }

  std::optional<Text> run;
  try {
    run = context_.autostart.Read();
  } catch (const std::exception&) {
  }
  AutoStart_CheckBox->setChecked(run && !run->empty());

  // The window's placement is not stored: it opens centred every time.
  PlacementPending = false;
}

void TfrmMain::LoadSliders(IniFile& ini) {
  switch (ini.ReadInteger(kSpeech, u"SAPIVersion", 5)) {
    case 4:
      // A legacy voice's values are engine units, set as they are; the selected engine's
      // current values stand in for missing ones.
      Speed_Bar->setValue(ini.ReadInteger(kSpeech, u"Speed",
                                          Sapi4Current(SpeechAPI4, &speech::TMSpeech::GetSpeed)));
      Pitch_Bar->setValue(ini.ReadInteger(kSpeech, u"Pitch",
                                          Sapi4Current(SpeechAPI4, &speech::TMSpeech::GetPitch)));
      Volume_Bar->setValue(ini.ReadInteger(kSpeech, u"Volume",
                                           Sapi4Current(SpeechAPI4, &speech::TMSpeech::GetVolume)));
      break;
    case 5: {
      const std::int32_t speed = ini.ReadInteger(kSpeech, u"Speed", kMissing);
      const std::int32_t pitch = ini.ReadInteger(kSpeech, u"Pitch", kMissing);
      Speed_Bar->setValue(speed == kMissing ? 0 : speech::Sapi5Position(speed));
      Pitch_Bar->setValue(pitch == kMissing ? -2 : speech::Sapi5Position(pitch));
      Volume_Bar->setValue(ini.ReadInteger(kSpeech, u"Volume", 100));
      break;
    }
    default:
      break;
  }
  Speed_BarChange();
  Pitch_BarChange();
  Volume_BarChange();
}

void TfrmMain::SelectSavedVoice(IniFile& ini) {
  const int legacyCount = Sapi4EngineCount();
  const std::int32_t version = ini.ReadInteger(kSpeech, u"SAPIVersion", Sapi5Available ? 5 : 4);
  if (version == 4) {
    const Text first = VoicesList->count() > 0 ? FromQString(VoicesList->item(0)->text()) : Text();
    SelectQuietly(VoicesList, IndexOfName(VoicesList, ini.ReadString(kSpeech, u"Voice", first)));
    return;
  }
  if (legacyCount >= VoicesList->count()) {
    // No modern voice to take the default name from: the last entry stands in, if any.
    SelectQuietly(VoicesList, VoicesList->count() - 1);
    return;
  }
  Text fallback = FromQString(VoicesList->item(legacyCount)->text());
  fallback.resize(fallback.size() > kSapi5Suffix.size() ? fallback.size() - kSapi5Suffix.size()
                                                        : 0);
  const Text name = ini.ReadString(kSpeech, u"Voice", fallback) + Text(kSapi5Suffix);
  SelectQuietly(VoicesList, IndexOfName(VoicesList, name));
}

void TfrmMain::SaveCfg() {
  try {
    IniFile ini(context_.profiles, CfgPath());
    ini.WriteInteger(kGeneral, u"HotKey", Reading_HotKey->HotKey());
    ini.WriteInteger(kGeneral, u"OptHotKey", Options_HotKey->HotKey());
    ini.WriteInteger(kGeneral, u"StopHotKey", Stop_HotKey->HotKey());
    ini.WriteBool(kGeneral, u"MinimizeToTray", TrayIcon_CheckBox->isChecked());
    ini.WriteBool(kGeneral, u"ReadByMouse", ReadByMouse->isChecked());
    ini.WriteBool(kPronunciation, u"IgnoreCharacters", IgnoreCharacters_CheckBox->isChecked());
    ini.WriteString(kPronunciation, u"IgnoredCharacters", FromQString(Ignored_Characters->text()));
    ini.WriteBool(kPronunciation, u"WordsCorrections", WordsCorr_CheckBox->isChecked());

    const int selected = VoicesList->currentRow();
    Text voice = selected >= 0 ? FromQString(VoicesList->item(selected)->text()) : Text();
    if (const auto suffix = voice.find(u"(SAPI5)"); suffix != Text::npos) {
      voice.erase(suffix == 0 ? 0 : suffix - 1);
    }
    ini.WriteString(kSpeech, u"Voice", voice);
    ini.WriteInteger(kSpeech, u"Speed", ReadoutValue(Edit1));
    ini.WriteInteger(kSpeech, u"Pitch", ReadoutValue(Edit2));
    ini.WriteInteger(kSpeech, u"Volume", ReadoutValue(Edit3));
    // Nothing selected is no legacy voice.
    ini.WriteInteger(kSpeech, u"SAPIVersion",
                     selected >= 0 && selected < Sapi4EngineCount() ? 4 : 5);
    TidyIniFile(CfgPath());

    if (AutoStart_CheckBox->isChecked()) {
      context_.autostart.Write(context_.programPath, u" -autostart");
    } else {
      context_.autostart.Remove();
    }
  } catch (const std::exception&) {
    // A failed save is abandoned where it failed, silently; what was written stays written.
  }
}

}  // namespace parlino::app
