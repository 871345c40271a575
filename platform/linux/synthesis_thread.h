#pragma once
// The thread that synthesises ahead of playback for every voice object of one synthesiser. A
// synthesiser is one per process, so it works a piece (a few sentences) at a time, always for
// the voice object with the least audio ready: a long text never keeps another object waiting.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "platform/linux/audio_channel.h"

namespace parlino::platform::linux_impl {

// A speech synthesis library that turns pieces of text into samples.
class Synthesizer {
 public:
  // Receives the audio in blocks, with the words that start in each block; returns false to stop.
  using AudioHandler =
      std::function<bool(std::span<const std::int16_t> samples, const std::vector<WordMark>&)>;

  virtual ~Synthesizer() = default;
  // Synthesises `piece` with its voice, rate and pitch. Throws PlatformError on failure.
  virtual void Synthesize(const SpeechPiece& piece, const AudioHandler& onAudio) = 0;
};

class SynthesisThread {
 public:
  // The thread of `synthesizer` (which lives as long as the process), started on first use and
  // stopped when the last holder lets it go.
  static std::shared_ptr<SynthesisThread> Acquire(Synthesizer& synthesizer);

  explicit SynthesisThread(Synthesizer& synthesizer);
  ~SynthesisThread();
  SynthesisThread(const SynthesisThread&) = delete;
  SynthesisThread& operator=(const SynthesisThread&) = delete;

  void Add(std::shared_ptr<AudioChannel> channel);
  void Remove(const AudioChannel* channel);
  // A channel may want audio now; callable from any thread.
  void Wake();

 private:
  void Run();
  std::shared_ptr<AudioChannel> NeediestLocked() const;

  Synthesizer& synthesizer_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::shared_ptr<AudioChannel>> channels_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace parlino::platform::linux_impl
