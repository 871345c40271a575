#pragma once
// The thread that synthesises ahead of playback for every voice object of the process. The
// synthesiser is one per process, so it works a piece (a few sentences) at a time, always for the
// voice object with the least audio ready: a long text never keeps another object waiting.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/linux/audio_channel.h"
#include "platform/linux/espeak_library.h"

namespace parlino::platform::linux_impl {

class SynthesisThread {
 public:
  // The process's thread, started on first use and stopped when the last holder lets it go.
  // Throws PlatformError when the synthesiser is not available.
  static std::shared_ptr<SynthesisThread> Acquire();

  explicit SynthesisThread(EspeakLibrary& library);
  ~SynthesisThread();
  SynthesisThread(const SynthesisThread&) = delete;
  SynthesisThread& operator=(const SynthesisThread&) = delete;

  EspeakLibrary& library() { return library_; }

  void Add(std::shared_ptr<AudioChannel> channel);
  void Remove(const AudioChannel* channel);
  // A channel may want audio now; callable from any thread.
  void Wake();

 private:
  void Run();
  std::shared_ptr<AudioChannel> NeediestLocked() const;

  EspeakLibrary& library_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::shared_ptr<AudioChannel>> channels_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace parlino::platform::linux_impl
