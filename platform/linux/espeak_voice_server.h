#pragma once
// The modern voice server on Linux: espeak-ng voices, synthesised on a worker thread ahead of
// playback and played through SDL, one audio output per voice object that speaks.
#include <memory>

#include "platform/clock.h"
#include "platform/voice_server.h"

namespace parlino::platform::linux_impl {

class EspeakVoiceServer final : public VoiceServer {
 public:
  // Events are posted through `pump` to the user-interface thread.
  explicit EspeakVoiceServer(MessagePump& pump);
  std::unique_ptr<SpeechVoice> CreateVoice(VoiceEventSink& sink) override;
  void SetNoticeHandler(std::function<void(TextView)> handler) override;

 private:
  MessagePump& pump_;
  // Shared with the notices already on their way, which look the handler up when they arrive.
  std::shared_ptr<std::function<void(TextView)>> notices_ =
      std::make_shared<std::function<void(TextView)>>();
};

}  // namespace parlino::platform::linux_impl
