#include "platform/linux/espeak_library.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <variant>

#include "platform/linux/speech_text.h"
#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

std::string StatusText(espeak_ng_STATUS status) {
  char buffer[256] = {};
  espeak_ng_GetStatusCodeMessage(status, buffer, sizeof buffer);
  return buffer;
}

void Check(espeak_ng_STATUS status, const std::string& what) {
  if (status != ENS_OK) {
    throw PlatformError(what + ": " + StatusText(status), static_cast<std::int64_t>(status));
  }
}

// The synthesis in progress; set while the library's lock is held.
struct Synthesis {
  const SpeechPiece* piece;
  const EspeakLibrary::AudioHandler* onAudio;
  std::size_t produced;  // samples delivered so far; espeak-ng counts word positions from 0
  bool stopped;
};
Synthesis* currentSynthesis = nullptr;

int OnSynth(short* wav, int count, espeak_EVENT* events) {
  Synthesis& synthesis = *currentSynthesis;
  const std::vector<std::size_t>& offsets = synthesis.piece->offsets;
  const std::size_t lastChar = offsets.size() - 1;
  std::vector<WordMark> words;
  for (const espeak_EVENT* event = events;
       event != nullptr && event->type != espeakEVENT_LIST_TERMINATED; ++event) {
    // Some voices end with a word of no length at no position; it is nothing to report.
    if (event->type != espeakEVENT_WORD || event->length <= 0 || event->text_position <= 0) {
      continue;
    }
    // Text positions count code points from 1.
    const std::size_t first =
        std::min<std::size_t>(static_cast<std::size_t>(event->text_position - 1), lastChar);
    const std::size_t end =
        std::min<std::size_t>(first + static_cast<std::size_t>(event->length), lastChar);
    const auto sample = static_cast<std::size_t>(std::max(event->sample, 0));
    words.push_back({sample > synthesis.produced ? sample - synthesis.produced : 0,
                     static_cast<std::int32_t>(offsets[first]),
                     static_cast<std::int32_t>(offsets[end] - offsets[first])});
  }
  const std::size_t size = wav != nullptr ? static_cast<std::size_t>(std::max(count, 0)) : 0;
  synthesis.produced += size;
  if (!(*synthesis.onAudio)(std::span<const std::int16_t>(wav, size), words)) {
    synthesis.stopped = true;
    return 1;
  }
  return 0;
}

std::variant<int, PlatformError> Initialize() {
  try {
    espeak_ng_InitializePath(nullptr);
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    Check(status, "Cannot initialise espeak-ng");
    // Synchronous output hands the audio over in blocks of about 20 ms as it is made.
    Check(espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, 20, nullptr),
          "Cannot initialise espeak-ng's output");
    espeak_SetSynthCallback(OnSynth);
    return espeak_ng_GetSampleRate();
  } catch (const PlatformError& error) {
    return error;
  }
}

// espeak-ng's language list: a priority byte and a tag ending in NUL, for each language, then a
// zero byte.
VoiceLanguages Languages(const char* list) {
  VoiceLanguages languages;
  while (list != nullptr && *list != '\0') {
    const int priority = static_cast<unsigned char>(*list++);
    const std::string tag = list;
    list += tag.size() + 1;
    languages.emplace_back(priority, tag);
  }
  return languages;
}

}  // namespace

int WordsPerMinute(int rate) {
  const double steps = std::clamp(rate, -10, 10) / 10.0;
  const auto wpm = static_cast<int>(std::lround(espeakRATE_NORMAL * std::pow(3.0, steps)));
  return std::clamp(wpm, espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
}

int EspeakPitch(int pitch) {
  return 50 + 5 * std::clamp(pitch, kMinPitch, kMaxPitch);
}

EspeakLibrary& EspeakLibrary::Instance() {
  static const std::variant<int, PlatformError> initialized = Initialize();
  if (const auto* error = std::get_if<PlatformError>(&initialized)) throw *error;
  static EspeakLibrary* const library = new EspeakLibrary(std::get<int>(initialized));
  return *library;
}

std::vector<EspeakVoiceInfo> EspeakLibrary::ListVoices() {
  std::lock_guard lock(mutex_);
  // Read once: every reading looks its voice up, and reading the voice files takes milliseconds.
  // Voices installed while the program runs appear after a restart.
  if (voices_.empty()) {
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
    for (std::size_t i = 0; list != nullptr && list[i] != nullptr; ++i) {
      const std::string identifier = list[i]->identifier != nullptr ? list[i]->identifier : "";
      if (identifier.empty() || identifier.starts_with("mb/")) continue;
      // A name with a blank at its end ("Cherokee ") could never be found again in the
      // settings, whose values lose their outer blanks.
      Text name = Trim(FromUtf8(list[i]->name != nullptr ? list[i]->name : ""));
      if (name.empty()) name = FromUtf8(identifier);
      voices_.push_back({identifier, std::move(name), Languages(list[i]->languages)});
    }
  }
  std::vector<EspeakVoiceInfo> voices = voices_;
  std::vector<VoiceLanguages> languages;
  for (const EspeakVoiceInfo& voice : voices) languages.push_back(voice.languages);
  const int first = LocaleVoice(languages, PreferredLanguages(&std::getenv));
  if (first > 0) {
    std::rotate(voices.begin(), voices.begin() + first, voices.begin() + first + 1);
  }
  return voices;
}

void EspeakLibrary::Synthesize(const SpeechPiece& piece, const AudioHandler& onAudio) {
  std::lock_guard lock(mutex_);
  if (piece.settings.voice != currentVoice_) {
    currentVoice_.clear();
    Check(espeak_ng_SetVoiceByName(piece.settings.voice.c_str()),
          "Cannot load the voice " + piece.settings.voice);
    currentVoice_ = piece.settings.voice;
  }
  Check(espeak_ng_SetParameter(espeakRATE, piece.settings.wordsPerMinute, 0),
        "Cannot set the rate");
  Check(espeak_ng_SetParameter(espeakPITCH, EspeakPitch(piece.pitch), 0), "Cannot set the pitch");

  Synthesis synthesis{&piece, &onAudio, 0, false};
  currentSynthesis = &synthesis;
  // No SSML and no phoneme input: the text is spoken as it stands.
  const unsigned flags = espeakCHARS_UTF8 | (piece.endsSentence ? espeakENDPAUSE : 0u);
  const espeak_ng_STATUS status = espeak_ng_Synthesize(piece.utf8.c_str(), piece.utf8.size() + 1, 0,
                                                       POS_CHARACTER, 0, flags, nullptr, nullptr);
  currentSynthesis = nullptr;
  if (!synthesis.stopped) Check(status, "Speech synthesis failed");
}

}  // namespace parlino::platform::linux_impl
