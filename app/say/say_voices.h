#pragma once
// parlino-say's voices, the same on every system: the list as the program shows it (the legacy
// modes first, then the modern voices with the suffix), the choice by name, and the speech.
#include <cstddef>
#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/say/say_options.h"
#include "platform/code_page.h"
#include "speech/sapi4/tm_speech.h"
#include "speech/sapi5/sp_voice.h"

namespace parlino::say {

// The engines parlino-say speaks with; a system without legacy voices has none.
struct SayEngines {
  speech::TMSpeech* legacy = nullptr;
  const platform::CodePage* codePage = nullptr;  // set with `legacy`
  speech::TSpVoice& modern;
};

struct VoiceList {
  std::vector<Text> names;
  std::size_t legacy = 0;  // the first names are the legacy modes'
  std::shared_ptr<const platform::VoiceTokens> tokens;
  // Why the modern voices could not be listed: then the list has none of them.
  std::optional<std::string> modernError;
};

VoiceList ListVoices(const SayEngines& engines);

// The entry that --voice names, nothing without --voice. Throws PlatformError for a name the list
// does not have.
std::optional<std::size_t> ChosenVoice(const VoiceList& voices, const SayOptions& options);

// Starts speaking the options' text with the chosen entry, or with the modern engine's own
// default voice when there is no choice; `done` runs when the speech has ended. Throws
// PlatformError when the voice cannot speak.
void StartSpeaking(const SayEngines& engines, const VoiceList& voices,
                   std::optional<std::size_t> chosen, const SayOptions& options,
                   std::istream& input, const std::function<void()>& done);

}  // namespace parlino::say
