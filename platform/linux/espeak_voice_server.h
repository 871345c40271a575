#pragma once
// The modern voice server on Linux: espeak-ng voices.
#include <memory>

#include "platform/clock.h"
#include "platform/voice_server.h"

namespace parlino::platform::linux_impl {

class EspeakVoiceServer final : public VoiceServer {
 public:
  explicit EspeakVoiceServer(MessagePump& pump);
  std::unique_ptr<SpeechVoice> CreateVoice(VoiceEventSink& sink) override;

 private:
  MessagePump& pump_;
};

}  // namespace parlino::platform::linux_impl
