#pragma once
// The application's handle on one modern voice object: connects on demand, passes values
// through, and forwards the object's events.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/voice_server.h"

namespace parlino::speech {

class TSpVoice final : private platform::VoiceEventSink {
 public:
  explicit TSpVoice(platform::VoiceServer& server) : server_(server) {}

  void Connect();
  void Disconnect();
  bool Connected() const { return voice_ != nullptr; }

  // Every operation below connects first when needed.
  void SetVoice(std::shared_ptr<const platform::VoiceToken> token);
  void SetRate(std::int32_t rate);
  void SetVolume(std::int32_t volume);
  std::int32_t Speak(TextView text, std::uint32_t flags);
  void Pause();
  void Resume();
  std::shared_ptr<const platform::VoiceTokens> GetVoices(TextView required, TextView optional);

  std::function<void(TSpVoice& sender, std::int32_t stream)> OnStartStream;
  std::function<void(TSpVoice& sender, std::int32_t stream)> OnEndStream;
  std::function<void(TSpVoice& sender, std::int32_t stream, std::int32_t position,
                     std::int32_t length)>
      OnWord;

 private:
  platform::SpeechVoice& Voice();
  void StreamStarted(std::int32_t stream) override;
  void StreamEnded(std::int32_t stream) override;
  void WordReached(std::int32_t stream, std::int32_t position, std::int32_t length) override;

  platform::VoiceServer& server_;
  std::unique_ptr<platform::SpeechVoice> voice_;
};

}  // namespace parlino::speech
