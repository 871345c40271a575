#pragma once
// The espeak-ng library. It keeps one synthesiser per process, so every call goes through here,
// one at a time.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/linux/audio_channel.h"
#include "platform/linux/synthesis_thread.h"
#include "platform/linux/voice_locale.h"
#include "platform/text.h"

namespace parlino::platform::linux_impl {

struct EspeakVoiceInfo {
  std::string identifier;    // what selects the voice
  Text name;                 // the voice's name as espeak-ng gives it, without outer blanks
  VoiceLanguages languages;  // the languages it speaks
};

// The voice's normal rate in words per minute for a rate step of -10 .. 10 (each step about
// 12% faster or slower), within espeak-ng's range.
int WordsPerMinute(int rate);
// espeak-ng's base pitch 0 .. 100 (50 normal) for a relative pitch of -10 .. 10.
int EspeakPitch(int pitch);

class EspeakLibrary final : public Synthesizer {
 public:
  // The process's library, initialised on first use. Throws PlatformError when espeak-ng cannot
  // be initialised (for instance when its data is missing).
  static EspeakLibrary& Instance();

  int SampleRate() const { return sampleRate_; }

  // The installed voices that can speak here, read at the first call: in espeak-ng's order, but
  // with the voice of the user's language (PreferredLanguages of the environment now) first.
  // MBROLA voices are left out: they need a separate synthesiser and data that are not part of
  // espeak-ng.
  std::vector<EspeakVoiceInfo> ListVoices();

  void Synthesize(const SpeechPiece& piece, const AudioHandler& onAudio) override;

 private:
  explicit EspeakLibrary(int sampleRate) : sampleRate_(sampleRate) {}

  const int sampleRate_;
  std::mutex mutex_;
  std::string currentVoice_;
  std::vector<EspeakVoiceInfo> voices_;  // the installed voices, listed once
};

}  // namespace parlino::platform::linux_impl
