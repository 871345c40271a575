// The default voice in cfg.ini: the voice's name and generation and the sliders' values.
#include <QLineEdit>
#include <QListWidget>
#include <QSlider>

#include "app/settings/cfg_file.h"
#include "app/settings/ini_file.h"
#include "app/ui/pages/default_voice_page.h"
#include "app/ui/widgets/qt_text.h"
#include "speech/catalogue/value_scales.h"

namespace parlino::app {
namespace {

using speech::VoiceGeneration;

constexpr std::int32_t kMissing = 777;  // a stored modern speed or pitch of 777 counts as missing

std::int32_t ReadoutValue(const QLineEdit* readout) {
  return RequireInteger(FromQString(readout->text()));
}

// The legacy engine's current value; 0 while no engine is selected.
template <typename Getter>
std::int32_t Sapi4Current(speech::TMSpeech& engine, Getter getter) {
  try {
    return static_cast<std::int32_t>((engine.*getter)());
  } catch (const std::exception&) {
    return 0;  // no engine selected
  }
}

}  // namespace

// The default voice and its sliders. The saved voice is selected without being applied, so the
// sliders keep the saved values; they are first put on that voice's scale, so that a legacy
// engine's values are neither clamped to nor shown on the modern scale.
void TDefaultVoicePage::LoadCfg(IniFile& cfg) {
  const int savedVoice = SavedVoiceIndex(cfg);
  LoadSliders(cfg, savedVoice);
  SelectVoiceQuietly(savedVoice);
  if (SelectedVoiceIndex() < 0 && VoicesList->count() > 0) SelectVoiceQuietly(0);

  // A saved voice that is gone leaves another entry selected: values stored for the other
  // generation's scale mean nothing to it, so it gets its own starting values.
  const int selected = SelectedVoiceIndex();
  if (selected >= 0 &&
      (VoiceEntry(selected).generation == VoiceGeneration::Sapi5) != sapi5Scales_) {
    try {
      ApplyVoice(selected);
    } catch (const std::exception& error) {
      // The engine refuses: the sliders stay as they are, as after a failed voice change.
      s_.log(std::string("Voice not applied: ") + error.what());
    }
  }
}

void TDefaultVoicePage::LoadSliders(IniFile& cfg, int savedVoice) {
  const auto generation = speech::StoredGeneration(
      cfg.ReadInteger(kSpeech, u"SAPIVersion", static_cast<std::int32_t>(VoiceGeneration::Sapi5)));
  // A number of no generation leaves the sliders as they are.
  if (generation == VoiceGeneration::Sapi4) {
    if (savedVoice >= 0 && VoiceEntry(savedVoice).generation == VoiceGeneration::Sapi4) {
      try {
        UseSapi4Scales(savedVoice);
      } catch (const std::exception& error) {
        // An engine that cannot be selected leaves the scales as they are.
        s_.log(std::string("Voice not selected: ") + error.what());
      }
    }
    // A legacy voice's values are engine units, set as they are; the selected engine's
    // current values stand in for missing ones.
    Speed_Bar->setValue(
        cfg.ReadInteger(kSpeech, u"Speed", Sapi4Current(s_.sapi4, &speech::TMSpeech::GetSpeed)));
    Pitch_Bar->setValue(
        cfg.ReadInteger(kSpeech, u"Pitch", Sapi4Current(s_.sapi4, &speech::TMSpeech::GetPitch)));
    Volume_Bar->setValue(
        cfg.ReadInteger(kSpeech, u"Volume", Sapi4Current(s_.sapi4, &speech::TMSpeech::GetVolume)));
  } else if (generation == VoiceGeneration::Sapi5) {
    UseSapi5Scales();
    const std::int32_t speed = cfg.ReadInteger(kSpeech, u"Speed", kMissing);
    const std::int32_t pitch = cfg.ReadInteger(kSpeech, u"Pitch", kMissing);
    Speed_Bar->setValue(speed == kMissing ? 0 : speech::Sapi5Position(speed));
    Pitch_Bar->setValue(pitch == kMissing ? -2 : speech::Sapi5Position(pitch));
    Volume_Bar->setValue(cfg.ReadInteger(kSpeech, u"Volume", 100));
  }
  ShowReadouts();
}

// The entry the settings name, -1 for none. Without a modern voice to take the default name
// from, a modern choice falls back to the last entry.
int TDefaultVoicePage::SavedVoiceIndex(IniFile& cfg) const {
  const int legacyCount = Sapi4EngineCount();
  const VoiceGeneration assumed =
      s_.sapi5Available ? VoiceGeneration::Sapi5 : VoiceGeneration::Sapi4;
  const auto generation = speech::StoredGeneration(
      cfg.ReadInteger(kSpeech, u"SAPIVersion", static_cast<std::int32_t>(assumed)));
  if (generation == VoiceGeneration::Sapi4)
    return VoiceIndexOfName(cfg.ReadString(kSpeech, u"Voice", VoiceDisplayName(0)));
  if (legacyCount >= VoicesList->count()) return VoicesList->count() - 1;
  const Text fallback =
      speech::StoredVoiceName(VoiceDisplayName(legacyCount), VoiceGeneration::Sapi5);
  return VoiceIndexOfName(speech::Sapi5DisplayName(cfg.ReadString(kSpeech, u"Voice", fallback)));
}

void TDefaultVoicePage::SaveCfg(IniFile& cfg) {
  // Nothing selected is no legacy voice.
  const int selected = SelectedVoiceIndex();
  const VoiceGeneration generation =
      selected >= 0 ? VoiceEntry(selected).generation : VoiceGeneration::Sapi5;
  cfg.WriteString(kSpeech, u"Voice",
                  speech::StoredVoiceName(VoiceDisplayName(selected), generation));
  cfg.WriteInteger(kSpeech, u"Speed", ReadoutValue(Edit1));
  cfg.WriteInteger(kSpeech, u"Pitch", ReadoutValue(Edit2));
  cfg.WriteInteger(kSpeech, u"Volume", ReadoutValue(Edit3));
  cfg.WriteInteger(kSpeech, u"SAPIVersion", static_cast<std::int32_t>(generation));
}

}  // namespace parlino::app
