#pragma once
// A voice server with a scripted list of voices that records what its voice objects are told.
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform_error.h"
#include "platform/voice_server.h"

namespace parlino::testing {

class FakeVoiceServer final : public platform::VoiceServer {
 public:
  std::vector<Text> voices;  // descriptions, in list order
  bool unavailable = false;  // CreateVoice fails, as with no speech server installed
  int created = 0;

  // What the voice objects were told, in order, as UTF-8: "SetVoice Anna", "SetRate -2",
  // "SetVolume 100", "Speak 2 " (flags, a space, the text), "Pause", "Resume".
  std::vector<std::string> calls;
  // Calls that throw PlatformError (status kFailure): "GetVoices", "Item", "GetDescription",
  // "SetVoice", "SetRate", "SetVolume", "Speak", "Pause", "Resume".
  std::set<std::string> failing;
  std::optional<std::int32_t> itemFailsAt;  // Item throws for this position only

  static constexpr std::int64_t kFailure = -2147467259;  // E_FAIL

  void Check(const std::string& call) const;
  std::unique_ptr<platform::SpeechVoice> CreateVoice(platform::VoiceEventSink&) override;
};

}  // namespace parlino::testing
