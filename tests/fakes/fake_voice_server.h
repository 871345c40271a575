#pragma once
// A voice server with a scripted list of voices that records what its voice objects are told.
#include <memory>
#include <vector>

#include "platform/platform_error.h"
#include "platform/voice_server.h"

namespace parlino::testing {

class FakeVoiceServer final : public platform::VoiceServer {
 public:
  std::vector<Text> voices;  // descriptions, in list order
  bool unavailable = false;  // CreateVoice fails, as with no speech server installed
  int created = 0;

  std::unique_ptr<platform::SpeechVoice> CreateVoice(platform::VoiceEventSink&) override;
};

}  // namespace parlino::testing
