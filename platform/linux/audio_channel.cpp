#include "platform/linux/audio_channel.h"

#include <algorithm>
#include <utility>

#include "platform/linux/speech_text.h"

namespace parlino::platform::linux_impl {

AudioChannel::AudioChannel(MessagePump& pump, VoiceEventSink& sink, std::size_t ahead,
                           std::function<void()> wakeSynthesis)
    : pump_(pump),
      target_(std::make_shared<Target>(Target{&sink})),
      ahead_(ahead),
      wakeSynthesis_(std::move(wakeSynthesis)) {}

void AudioChannel::Queue(SpeechJob job) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return;
    jobs_.push_back(std::move(job));
  }
  wakeSynthesis_();
}

void AudioChannel::Purge() {
  std::int32_t ended = 0;
  {
    std::lock_guard lock(mutex_);
    ++generation_;
    jobs_.clear();
    nextChar_ = 0;
    items_.clear();
    buffered_ = 0;
    queuedStream_ = 0;
    ended = playingStream_;
    playingStream_ = 0;
    endDue_ = false;
  }
  audioReady_.notify_all();
  if (ended != 0) Post({{Kind::kEnd, ended, 0, 0}});
}

void AudioChannel::SetPaused(bool paused) {
  {
    std::lock_guard lock(mutex_);
    paused_ = paused;
  }
  audioReady_.notify_all();
}

void AudioChannel::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    ++generation_;
    jobs_.clear();
    items_.clear();
    buffered_ = 0;
  }
  audioReady_.notify_all();
  target_->sink = nullptr;
}

bool AudioChannel::NeedsAudio() const {
  std::lock_guard lock(mutex_);
  return NeedsAudioLocked();
}

bool AudioChannel::NeedsAudioLocked() const {
  return !closed_ && !jobs_.empty() && buffered_ < ahead_;
}

std::size_t AudioChannel::Buffered() const {
  std::lock_guard lock(mutex_);
  return buffered_;
}

std::optional<SpeechPiece> AudioChannel::TakePiece(std::size_t maxLength) {
  std::lock_guard lock(mutex_);
  if (closed_ || jobs_.empty()) return std::nullopt;
  const SpeechJob& job = jobs_.front();
  const TextView text = job.text;
  const PieceEnd end = text.empty() ? PieceEnd{} : NextPiece(text, nextChar_, maxLength);
  const TextView part = text.substr(nextChar_, end.end - nextChar_);

  SpeechPiece piece;
  piece.generation = generation_;
  piece.stream = job.stream;
  piece.utf8 = ToUtf8(part);
  std::replace(piece.utf8.begin(), piece.utf8.end(), '\0', ' ');
  piece.offsets = CodePointOffsets(part);
  for (std::size_t& offset : piece.offsets) offset += job.offset + nextChar_;
  piece.endsSentence = end.endsSentence;
  piece.last = end.end == text.size();
  piece.pitch = job.pitch;
  piece.settings = job.settings;

  nextChar_ = end.end;
  if (piece.last) {
    jobs_.pop_front();
    nextChar_ = 0;
  }
  return piece;
}

bool AudioChannel::Append(const SpeechPiece& piece, std::span<const std::int16_t> samples,
                          const std::vector<WordMark>& words) {
  std::lock_guard lock(mutex_);
  if (piece.generation != generation_) return false;
  StartStreamLocked(piece.stream);
  std::size_t cursor = 0;
  for (const WordMark& word : words) {
    const std::size_t at = std::clamp(word.sample, cursor, samples.size());
    AppendSamplesLocked(samples.subspan(cursor, at - cursor), piece.settings.volume);
    cursor = at;
    items_.push_back({Kind::kWord, piece.stream, word.position, word.length, {}, 0});
  }
  AppendSamplesLocked(samples.subspan(cursor), piece.settings.volume);
  audioReady_.notify_all();
  return true;
}

void AudioChannel::Finish(const SpeechPiece& piece) {
  std::lock_guard lock(mutex_);
  if (piece.generation != generation_ || !piece.last) return;
  StartStreamLocked(piece.stream);
  items_.push_back({Kind::kEnd, piece.stream, 0, 0, {}, 0});
  audioReady_.notify_all();
}

void AudioChannel::Fail(const SpeechPiece& piece) {
  std::lock_guard lock(mutex_);
  if (piece.generation != generation_) return;
  if (!piece.last && !jobs_.empty() && jobs_.front().stream == piece.stream) {
    jobs_.pop_front();
    nextChar_ = 0;
  }
  StartStreamLocked(piece.stream);
  items_.push_back({Kind::kEnd, piece.stream, 0, 0, {}, 0});
  audioReady_.notify_all();
}

void AudioChannel::StartStreamLocked(std::int32_t stream) {
  if (queuedStream_ == stream) return;
  queuedStream_ = stream;
  items_.push_back({Kind::kStart, stream, 0, 0, {}, 0});
}

void AudioChannel::AppendSamplesLocked(std::span<const std::int16_t> samples, int volume) {
  if (samples.empty()) return;
  Item item;
  item.samples.assign(samples.begin(), samples.end());
  if (volume != 100) {
    for (std::int16_t& sample : item.samples) {
      sample = static_cast<std::int16_t>(sample * volume / 100);
    }
  }
  buffered_ += samples.size();
  items_.push_back(std::move(item));
}

void AudioChannel::Fill(std::span<std::int16_t> out) {
  std::vector<Event> events;
  bool wake = false;
  std::size_t written = 0;
  {
    std::unique_lock lock(mutex_);
    audioReady_.wait(lock, [this] { return closed_ || paused_ || endDue_ || !items_.empty(); });
    if (endDue_) {
      events.push_back({Kind::kEnd, playingStream_, 0, 0});
      playingStream_ = 0;
      endDue_ = false;
    }
    while (!paused_ && written < out.size() && !items_.empty()) {
      Item& item = items_.front();
      if (item.kind == Kind::kAudio) {
        const std::size_t count = std::min(item.samples.size() - item.played, out.size() - written);
        std::copy_n(item.samples.begin() + static_cast<std::ptrdiff_t>(item.played), count,
                    out.begin() + static_cast<std::ptrdiff_t>(written));
        item.played += count;
        written += count;
        buffered_ -= count;
        if (item.played == item.samples.size()) items_.pop_front();
        continue;
      }
      if (item.kind == Kind::kEnd && written > 0) {
        // Its last samples are in this buffer: the end is reported once they went out, and the
        // next stream starts with the next buffer.
        endDue_ = true;
        items_.pop_front();
        break;
      }
      if (item.kind == Kind::kStart) playingStream_ = item.stream;
      if (item.kind == Kind::kEnd) playingStream_ = 0;
      events.push_back({item.kind, item.stream, item.position, item.length});
      items_.pop_front();
    }
    wake = !paused_ && NeedsAudioLocked();
  }
  std::fill(out.begin() + static_cast<std::ptrdiff_t>(written), out.end(), std::int16_t{0});
  if (!events.empty()) Post(std::move(events));
  if (wake) wakeSynthesis_();
}

void AudioChannel::Post(std::vector<Event> events) {
  pump_.Post([target = target_, events = std::move(events)] {
    for (const Event& event : events) {
      // A handler may release the voice object; nothing reaches its sink after that.
      VoiceEventSink* sink = target->sink;
      if (sink == nullptr) return;
      switch (event.kind) {
        case Kind::kStart:
          sink->OnStartStream(event.stream);
          break;
        case Kind::kWord:
          sink->OnWord(event.stream, event.position, event.length);
          break;
        case Kind::kEnd:
          sink->OnEndStream(event.stream);
          break;
        case Kind::kAudio:
          break;
      }
    }
  });
}

}  // namespace parlino::platform::linux_impl
