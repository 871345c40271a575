#pragma once
// The Flite library with its built-in English voices. Flite keeps a voice's settings in the
// voice itself, one per process, so every synthesis goes through here, one at a time.
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/synthesis_thread.h"

struct cst_voice_struct;

namespace parlino::platform::linux_impl {

// One voice and the limits of its speed and pitch. A voice whose model fixes its intonation has
// one pitch only (minimum = maximum).
struct FliteVoice {
  std::string name;          // Flite's own: "kal", "kal16", "awb", "rms", "slt"
  std::string dialect;       // "American English", "Scottish English"
  std::uint16_t gender = 0;  // 1 female, 2 male
  int sampleRate = 0;
  std::uint32_t normalSpeed = 0;  // words per minute of ordinary prose
  std::uint32_t minSpeed = 0;
  std::uint32_t maxSpeed = 0;
  std::uint16_t normalPitch = 0;  // mean fundamental frequency in hertz
  std::uint16_t minPitch = 0;
  std::uint16_t maxPitch = 0;
};

class FliteLibrary final : public Synthesizer {
 public:
  // The process's library, its voices registered on first use. Never fails: a voice that cannot
  // be registered is left out of the list.
  static FliteLibrary& Instance();

  // The voices in a fixed order: kal, kal16, awb, rms, slt.
  const std::vector<FliteVoice>& voices() const { return voices_; }
  // Nothing for a name that is not in the list.
  const FliteVoice* Find(std::string_view name) const;

  // Speaks `piece.utf8` (plain ASCII text) with the voice named in its settings, at its
  // settings' words per minute and at `piece.pitch` hertz, both clamped to the voice's limits.
  void Synthesize(const SpeechPiece& piece, const AudioHandler& onAudio) override;

  // A voice with Flite's object and the settings the voice came with.
  struct Entry {
    FliteVoice voice;
    cst_voice_struct* flite = nullptr;
    float stretch = 1.0f;       // the voice's own duration stretch
    bool setsF0Target = false;  // the voice itself sets the target pitch feature
  };

 private:
  FliteLibrary();
  void Configure(const Entry& entry, const SpeechPiece& piece);

  std::mutex mutex_;
  std::vector<Entry> entries_;
  std::vector<FliteVoice> voices_;
};

}  // namespace parlino::platform::linux_impl
