#pragma once
// The espeak-ng library. It keeps one synthesiser per process, so every call goes through here,
// one at a time.
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/linux/audio_channel.h"
#include "platform/text.h"

namespace parlino::platform::linux_impl {

struct EspeakVoiceInfo {
  std::string identifier;  // what selects the voice
  Text name;               // the voice's name as espeak-ng gives it
};

// The voice's normal rate in words per minute for a rate step of -10 .. 10 (each step about
// 12% faster or slower), within espeak-ng's range.
int WordsPerMinute(int rate);
// espeak-ng's base pitch 0 .. 100 (50 normal) for a relative pitch of -10 .. 10.
int EspeakPitch(int pitch);

class EspeakLibrary {
 public:
  // The process's library, initialised on first use. Throws PlatformError when espeak-ng cannot
  // be initialised (for instance when its data is missing).
  static EspeakLibrary& Instance();

  int sample_rate() const { return sample_rate_; }

  // The installed voices that can speak here, in espeak-ng's order, read at the first call.
  // MBROLA voices are left out: they need a separate synthesiser and data that are not part of
  // espeak-ng.
  std::vector<EspeakVoiceInfo> ListVoices();

  // Receives the audio in blocks, with the words that start in each block; returns false to stop.
  using AudioHandler =
      std::function<bool(std::span<const std::int16_t> samples, const std::vector<WordMark>&)>;
  // Synthesises `piece` with its voice, rate and pitch. Throws PlatformError on failure.
  void Synthesize(const SpeechPiece& piece, const AudioHandler& on_audio);

 private:
  explicit EspeakLibrary(int sample_rate) : sample_rate_(sample_rate) {}

  const int sample_rate_;
  std::mutex mutex_;
  std::string current_voice_;
  std::vector<EspeakVoiceInfo> voices_;  // the installed voices, listed once
};

}  // namespace parlino::platform::linux_impl
