#pragma once
// The modern speech server: voice objects that list the installed voices and speak text
// asynchronously, reporting their progress as events.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/text.h"

namespace parlino::platform {

// Flags of SpeechVoice::Speak.
inline constexpr std::uint32_t kSpeakAsync = 1;             // queue the text, return at once
inline constexpr std::uint32_t kSpeakPurgeBeforeSpeak = 2;  // discard everything queued or playing

class VoiceToken {
 public:
  virtual ~VoiceToken() = default;
  virtual Text GetDescription(std::int32_t locale) const = 0;
};

class VoiceTokens {
 public:
  virtual ~VoiceTokens() = default;
  virtual std::int32_t Count() const = 0;
  // Throws PlatformError for an index outside 0 .. Count() - 1.
  virtual std::shared_ptr<const VoiceToken> Item(std::int32_t index) const = 0;
};

// Receives a voice object's events on the user-interface thread, one at a time.
class VoiceEventSink {
 public:
  virtual ~VoiceEventSink() = default;
  virtual void OnStartStream(std::int32_t stream) = 0;
  virtual void OnEndStream(std::int32_t stream) = 0;
  // `position` and `length` count UTF-16 code units of the text as it was given to Speak.
  virtual void OnWord(std::int32_t stream, std::int32_t position, std::int32_t length) = 0;
};

// One voice object. Destroying it stops whatever it says, with no end event.
class SpeechVoice {
 public:
  virtual ~SpeechVoice() = default;
  virtual std::shared_ptr<const VoiceTokens> GetVoices(TextView required, TextView optional) = 0;
  virtual void SetVoice(std::shared_ptr<const VoiceToken> token) = 0;
  virtual void SetRate(std::int32_t rate) = 0;      // -10 .. 10, 0 the voice's normal rate
  virtual void SetVolume(std::int32_t volume) = 0;  // 0 .. 100
  virtual std::int32_t Speak(TextView text, std::uint32_t flags) = 0;  // returns the stream number
  virtual void Pause() = 0;
  virtual void Resume() = 0;
};

class VoiceServer {
 public:
  virtual ~VoiceServer() = default;
  // A new voice object whose events go to `sink` (which outlives it). Throws PlatformError when
  // the server is not available.
  virtual std::unique_ptr<SpeechVoice> CreateVoice(VoiceEventSink& sink) = 0;
  // Receives, on the user-interface thread, what the user should hear of though speech goes on
  // (no audio device: speech plays silently). An empty handler stops them.
  virtual void SetNoticeHandler(std::function<void(TextView)> handler) { (void)handler; }
};

}  // namespace parlino::platform
