#pragma once
// The modern voices through SAPI 5 automation: each voice object is an SpVoice (ISpeechVoice),
// taken from the running-object table or created, whose _ISpeechVoiceEvents reach the voice's
// event sink through the message pump, so they run on the user-interface thread one at a time,
// never inside a call into the voice. A released voice's events are dropped, also those that are
// already queued.
#include "platform/clock.h"
#include "platform/voice_server.h"
#include "platform/win32/com.h"

namespace parlino::platform::win32_impl {

class Sapi5VoiceServer final : public VoiceServer {
 public:
  // Made on the user-interface thread, which it joins to a single-threaded COM apartment.
  explicit Sapi5VoiceServer(MessagePump& pump);

  // Throws PlatformError (with the COM status) when SAPI 5 is missing or its object fails.
  std::unique_ptr<SpeechVoice> CreateVoice(VoiceEventSink& sink) override;

 private:
  ComApartment apartment_;
  MessagePump& pump_;
};

}  // namespace parlino::platform::win32_impl
