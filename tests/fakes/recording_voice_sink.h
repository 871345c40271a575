#pragma once
// A voice event sink that writes down every event it receives, as "start 1", "word 1 0 5"
// (stream, position, length) and "end 1".
#include <string>
#include <vector>

#include "platform/voice_server.h"

namespace parlino::testing {

class RecordingVoiceSink final : public platform::VoiceEventSink {
 public:
  void OnStartStream(std::int32_t stream) override {
    log.push_back("start " + std::to_string(stream));
  }
  void OnEndStream(std::int32_t stream) override { log.push_back("end " + std::to_string(stream)); }
  void OnWord(std::int32_t stream, std::int32_t position, std::int32_t length) override {
    log.push_back("word " + std::to_string(stream) + " " + std::to_string(position) + " " +
                  std::to_string(length));
  }
  bool Received(const std::string& event) const {
    for (const std::string& entry : log) {
      if (entry == event) return true;
    }
    return false;
  }
  std::vector<std::string> log;
};

}  // namespace parlino::testing
