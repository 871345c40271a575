#pragma once
// What one voice object has queued, synthesised and playing. The user-interface thread queues,
// purges and pauses; the synthesis thread appends audio; the audio thread plays it and posts the
// start, word and end events at the samples they belong to.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/text.h"
#include "platform/voice_server.h"

namespace parlino::platform::linux_impl {

struct VoiceSettings {
  std::string voice;  // the synthesiser's voice identifier
  int wordsPerMinute = 0;
  int volume = 100;  // 0 .. 100
};

// A text waiting to be spoken: one stream.
struct SpeechJob {
  std::int32_t stream = 0;
  Text text;               // what is spoken
  std::size_t offset = 0;  // position of text[0] in the text as it was given
  int pitch = 0;
  VoiceSettings settings;
};

// The next piece of a job, for the synthesis thread.
struct SpeechPiece {
  std::uint64_t generation = 0;
  std::int32_t stream = 0;
  std::string utf8;                  // NUL-free
  std::vector<std::size_t> offsets;  // position in the given text of each code point, plus end
  bool endsSentence = false;
  bool last = false;
  int pitch = 0;
  VoiceSettings settings;
};

// A word that starts `sample` samples into a block of synthesised audio.
struct WordMark {
  std::size_t sample = 0;
  std::int32_t position = 0;
  std::int32_t length = 0;
};

class AudioChannel {
 public:
  // `ahead` is how many samples the synthesis keeps ready; `wakeSynthesis` is called (from any
  // thread) when the channel wants more audio.
  AudioChannel(MessagePump& pump, VoiceEventSink& sink, std::size_t ahead,
               std::function<void()> wakeSynthesis);

  // User-interface thread.
  void Queue(SpeechJob job);
  // Discards everything queued or playing; a stream whose start was reported gets its end event.
  void Purge();
  void SetPaused(bool paused);
  // Discards everything for good; from now on no event reaches the sink.
  void Close();

  // Synthesis thread.
  bool NeedsAudio() const;
  std::size_t Buffered() const;
  std::optional<SpeechPiece> TakePiece(std::size_t maxLength);
  // Adds synthesised audio of `piece` at the volume of its settings; false when the piece was
  // purged meanwhile, so its synthesis can stop.
  bool Append(const SpeechPiece& piece, std::span<const std::int16_t> samples,
              const std::vector<WordMark>& words);
  // The piece is done; after the last piece of a stream comes its end.
  void Finish(const SpeechPiece& piece);
  // The piece could not be synthesised: the rest of its stream is dropped and the stream ends.
  void Fail(const SpeechPiece& piece);

  // Audio thread: the next `out.size()` samples to play, silence while paused. With nothing to
  // play it waits for audio (or a pause, or Close), so that the first samples of a text go out
  // the moment they are made rather than a buffer of silence later.
  void Fill(std::span<std::int16_t> out);

 private:
  enum class Kind { kStart, kWord, kEnd, kAudio };
  struct Item {
    Kind kind = Kind::kAudio;
    std::int32_t stream = 0;
    std::int32_t position = 0;
    std::int32_t length = 0;
    std::vector<std::int16_t> samples;
    std::size_t played = 0;
  };
  struct Event {
    Kind kind;
    std::int32_t stream;
    std::int32_t position;
    std::int32_t length;
  };
  // Shared with the posted events, which run after the channel may be gone.
  struct Target {
    VoiceEventSink* sink;
  };

  void StartStreamLocked(std::int32_t stream);
  void AppendSamplesLocked(std::span<const std::int16_t> samples, int volume);
  bool NeedsAudioLocked() const;
  void Post(std::vector<Event> events);

  MessagePump& pump_;
  const std::shared_ptr<Target> target_;
  const std::size_t ahead_;
  const std::function<void()> wakeSynthesis_;

  mutable std::mutex mutex_;
  std::condition_variable audioReady_;
  std::deque<SpeechJob> jobs_;      // not yet fully synthesised; front is in progress
  std::size_t nextChar_ = 0;        // progress within jobs_.front()
  std::deque<Item> items_;          // synthesised, not yet played
  std::size_t buffered_ = 0;        // samples in items_
  std::uint64_t generation_ = 0;    // changes when everything is discarded
  std::int32_t queuedStream_ = 0;   // stream whose start is in items_ (or was played)
  std::int32_t playingStream_ = 0;  // stream whose start was reported and end not yet
  bool endDue_ = false;             // its last sample went out; report the end next time
  bool paused_ = false;
  bool closed_ = false;
};

}  // namespace parlino::platform::linux_impl
