#include "platform/linux/synthesis_thread.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

// Code units per piece: a few sentences, synthesised in a few milliseconds.
constexpr std::size_t kPieceLength = 400;

}  // namespace

std::shared_ptr<SynthesisThread> SynthesisThread::Acquire(Synthesizer& synthesizer) {
  static std::mutex mutex;
  static std::map<const Synthesizer*, std::weak_ptr<SynthesisThread>> threads;
  std::lock_guard lock(mutex);
  std::shared_ptr<SynthesisThread> thread = threads[&synthesizer].lock();
  if (!thread) {
    thread = std::make_shared<SynthesisThread>(synthesizer);
    threads[&synthesizer] = thread;
  }
  return thread;
}

SynthesisThread::SynthesisThread(Synthesizer& synthesizer)
    : synthesizer_(synthesizer), thread_([this] { Run(); }) {}

SynthesisThread::~SynthesisThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void SynthesisThread::Add(std::shared_ptr<AudioChannel> channel) {
  {
    std::lock_guard lock(mutex_);
    channels_.push_back(std::move(channel));
  }
  wake_.notify_all();
}

void SynthesisThread::Remove(const AudioChannel* channel) {
  std::lock_guard lock(mutex_);
  std::erase_if(channels_, [channel](const auto& held) { return held.get() == channel; });
}

void SynthesisThread::Wake() {
  // Taking the lock orders this call after the channel's change and a waiting check before it.
  { std::lock_guard lock(mutex_); }
  wake_.notify_all();
}

std::shared_ptr<AudioChannel> SynthesisThread::NeediestLocked() const {
  std::shared_ptr<AudioChannel> neediest;
  std::size_t least = 0;
  for (const auto& channel : channels_) {
    if (!channel->NeedsAudio()) continue;
    const std::size_t buffered = channel->Buffered();
    if (!neediest || buffered < least) {
      neediest = channel;
      least = buffered;
    }
  }
  return neediest;
}

void SynthesisThread::Run() {
  for (;;) {
    std::shared_ptr<AudioChannel> channel;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] {
        if (!stopping_) channel = NeediestLocked();
        return stopping_ || channel != nullptr;
      });
      if (stopping_) return;
    }
    const std::optional<SpeechPiece> piece = channel->TakePiece(kPieceLength);
    if (!piece) continue;
    try {
      if (!piece->utf8.empty()) {
        synthesizer_.Synthesize(
            *piece, [&](std::span<const std::int16_t> samples, const std::vector<WordMark>& words) {
              return channel->Append(*piece, samples, words);
            });
      }
      channel->Finish(*piece);
    } catch (const PlatformError& error) {
      std::fprintf(stderr, "Parlino: %s\n", error.what());
      channel->Fail(*piece);
    }
  }
}

}  // namespace parlino::platform::linux_impl
