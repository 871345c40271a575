#pragma once
// The modern voice server on Linux: espeak-ng voices, synthesised on a worker thread ahead of
// playback and played through SDL, one audio output per voice object that speaks.
#include <memory>

#include "platform/clock.h"
#include "platform/linux/sdl_audio_device.h"
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
  PostedSilentNotice notices_{pump_};
};

}  // namespace parlino::platform::linux_impl
