#include "app/say/say_voices.h"

#include "platform/platform_error.h"
#include "speech/catalogue/voice_catalogue.h"
#include "speech/sapi4/ansi_text.h"

namespace parlino::say {
namespace {

void SpeakLegacy(const SayEngines& engines, const Text& mode, const SayOptions& options,
                 std::istream& input, const std::function<void()>& done) {
  speech::TMSpeech& legacy = *engines.legacy;
  legacy.SelectEngine(mode);
  if (!legacy.Selected()) throw PlatformError("the voice cannot be started");
  // The component's values are the engine's own; the options' steps are placed on its range.
  const std::uint32_t speed = legacy.GetSpeed();
  const std::uint32_t pitch = legacy.GetPitch();
  legacy.SetSpeed(LegacyValue(options.rate, legacy.MinSpeed(), speed, legacy.MaxSpeed()));
  legacy.SetPitch(static_cast<std::uint16_t>(
      LegacyValue(options.pitch.value_or(0), legacy.MinPitch(), pitch, legacy.MaxPitch())));
  legacy.SetVolume(options.volume);
  legacy.Text = {speech::ToAnsiText(*engines.codePage, InputText(options, input))};
  legacy.OnStop = [done](speech::TMSpeech&) { done(); };
  legacy.Speak();
}

}  // namespace

VoiceList ListVoices(const SayEngines& engines) {
  VoiceList list;
  if (engines.legacy != nullptr) {
    speech::TMSpeech& legacy = *engines.legacy;
    for (const Text& mode : legacy.Engines()) {
      legacy.SelectEngine(mode);
      list.names.push_back(speech::Sapi4DisplayName(
          mode, legacy.Selected() ? std::optional<TextView>(legacy.Speaker()) : std::nullopt));
    }
  }
  list.legacy = list.names.size();
  try {
    engines.modern.Connect();
    list.tokens = engines.modern.GetVoices(u"", u"");
    for (std::int32_t i = 0; i < list.tokens->Count(); ++i) {
      list.names.push_back(speech::Sapi5DisplayName(list.tokens->Item(i)->GetDescription(0)));
    }
  } catch (const PlatformError& error) {
    list.modernError = error.what();
  }
  return list;
}

std::optional<std::size_t> ChosenVoice(const VoiceList& voices, const SayOptions& options) {
  if (!options.voice) return std::nullopt;
  const auto chosen = FindVoice(voices.names, voices.legacy, *options.voice);
  if (!chosen) {
    throw PlatformError("unknown voice \"" + *options.voice + "\" (see parlino-say --list-voices)");
  }
  return chosen;
}

void StartSpeaking(const SayEngines& engines, const VoiceList& voices,
                   std::optional<std::size_t> chosen, const SayOptions& options,
                   std::istream& input, const std::function<void()>& done) {
  if (chosen && *chosen < voices.legacy) {
    SpeakLegacy(engines, engines.legacy->Engines()[*chosen], options, input, done);
    return;
  }
  if (voices.modernError) throw PlatformError(*voices.modernError);
  speech::TSpVoice& voice = engines.modern;
  if (chosen)
    voice.SetVoice(voices.tokens->Item(static_cast<std::int32_t>(*chosen - voices.legacy)));
  voice.SetRate(options.rate);
  voice.SetVolume(options.volume);
  voice.OnEndStream = [done](speech::TSpVoice&, std::int32_t) { done(); };
  voice.Speak(SpokenText(options, input), platform::kSpeakAsync);
}

}  // namespace parlino::say
