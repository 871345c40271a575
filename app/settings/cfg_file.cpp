// Moving the settings between cfg.ini and the options window's controls.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>
#include <QTimer>

#include "app/settings/ini_file.h"
#include "app/settings/tidy_ini_file.h"
#include "app/ui/frm_main.h"
#include "app/ui/hot_key_edit.h"
#include "app/ui/qt_text.h"
#include "speech/catalogue/value_scales.h"
#include "speech/catalogue/voice_catalogue.h"

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

std::uint16_t HotKeyCode(std::int32_t stored) {
  return static_cast<std::uint16_t>(stored);
}

std::int32_t ReadoutValue(const QLineEdit* readout) {
  return RequireInteger(FromQString(readout->text()));
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

  LoadSpeechSettings(ini);

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

// The default voice and its sliders. The saved voice is selected without being applied, so the
// sliders keep the saved values; they are first put on that voice's scale, so that a legacy
// engine's values are neither clamped to nor shown on the modern scale.
void TfrmMain::LoadSpeechSettings(IniFile& ini) {
  const int savedVoice = SavedVoiceIndex(ini);
  LoadSliders(ini, savedVoice);
  SelectVoiceQuietly(savedVoice);
  if (SelectedVoiceIndex() < 0 && VoicesList->count() > 0) SelectVoiceQuietly(0);

  // A saved voice that is gone leaves another entry selected: values stored for the other
  // generation's scale mean nothing to it, so it gets its own starting values.
  const int selected = SelectedVoiceIndex();
  if (selected >= 0 &&
      (VoiceEntry(selected).generation == speech::VoiceGeneration::Sapi5) != Sapi5Scales) {
    try {
      ApplyVoice(selected);
    } catch (const std::exception&) {
      // The engine refuses: the sliders stay as they are, as after a failed voice change.
    }
  }
}

void TfrmMain::LoadSliders(IniFile& ini, int savedVoice) {
  switch (ini.ReadInteger(kSpeech, u"SAPIVersion", 5)) {
    case 4:
      if (savedVoice >= 0 && VoiceEntry(savedVoice).generation == speech::VoiceGeneration::Sapi4) {
        try {
          UseSapi4Scales(savedVoice);
        } catch (const std::exception&) {
          // An engine that cannot be selected leaves the scales as they are.
        }
      }
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
      UseSapi5Scales();
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
  ShowReadouts();
}

// The entry the settings name, -1 for none. Without a modern voice to take the default name
// from, a modern choice falls back to the last entry.
int TfrmMain::SavedVoiceIndex(IniFile& ini) const {
  const int legacyCount = Sapi4EngineCount();
  const std::int32_t version = ini.ReadInteger(kSpeech, u"SAPIVersion", Sapi5Available ? 5 : 4);
  if (version == 4) return VoiceIndexOfName(ini.ReadString(kSpeech, u"Voice", VoiceDisplayName(0)));
  if (legacyCount >= VoicesList->count()) return VoicesList->count() - 1;
  const Text fallback =
      speech::StoredVoiceName(VoiceDisplayName(legacyCount), speech::VoiceGeneration::Sapi5);
  return VoiceIndexOfName(speech::Sapi5DisplayName(ini.ReadString(kSpeech, u"Voice", fallback)));
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

    // Nothing selected is no legacy voice.
    const int selected = SelectedVoiceIndex();
    const speech::VoiceGeneration generation =
        selected >= 0 ? VoiceEntry(selected).generation : speech::VoiceGeneration::Sapi5;
    ini.WriteString(kSpeech, u"Voice",
                    speech::StoredVoiceName(VoiceDisplayName(selected), generation));
    ini.WriteInteger(kSpeech, u"Speed", ReadoutValue(Edit1));
    ini.WriteInteger(kSpeech, u"Pitch", ReadoutValue(Edit2));
    ini.WriteInteger(kSpeech, u"Volume", ReadoutValue(Edit3));
    ini.WriteInteger(kSpeech, u"SAPIVersion", static_cast<std::int32_t>(generation));
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
