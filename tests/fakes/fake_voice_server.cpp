#include "tests/fakes/fake_voice_server.h"

namespace parlino::testing {
namespace {

class FakeToken final : public platform::VoiceToken {
 public:
  FakeToken(const FakeVoiceServer& server, Text description)
      : server_(server), description_(std::move(description)) {}
  Text GetDescription(std::int32_t) const override {
    server_.Check("GetDescription");
    return description_;
  }

 private:
  const FakeVoiceServer& server_;
  Text description_;
};

class FakeTokens final : public platform::VoiceTokens {
 public:
  explicit FakeTokens(const FakeVoiceServer& server) : server_(server) {
    for (const Text& voice : server.voices) {
      tokens_.push_back(std::make_shared<FakeToken>(server, voice));
    }
  }
  std::int32_t Count() const override { return static_cast<std::int32_t>(tokens_.size()); }
  std::shared_ptr<const platform::VoiceToken> Item(std::int32_t index) const override {
    server_.Check("Item");
    if (index < 0 || index >= Count() || index == server_.itemFailsAt) {
      throw PlatformError("index out of range", FakeVoiceServer::kFailure);
    }
    return tokens_[static_cast<std::size_t>(index)];
  }

 private:
  const FakeVoiceServer& server_;
  std::vector<std::shared_ptr<const platform::VoiceToken>> tokens_;
};

class FakeVoice final : public platform::SpeechVoice {
 public:
  explicit FakeVoice(FakeVoiceServer& server) : server_(server) {}
  std::shared_ptr<const platform::VoiceTokens> GetVoices(TextView, TextView) override {
    server_.Check("GetVoices");
    return std::make_shared<FakeTokens>(server_);
  }
  void SetVoice(std::shared_ptr<const platform::VoiceToken> token) override {
    Record("SetVoice", "SetVoice " + ToUtf8(token ? token->GetDescription(0) : Text()));
  }
  void SetRate(std::int32_t rate) override { Record("SetRate", "SetRate " + std::to_string(rate)); }
  void SetVolume(std::int32_t volume) override {
    Record("SetVolume", "SetVolume " + std::to_string(volume));
  }
  std::int32_t Speak(TextView text, std::uint32_t flags) override {
    Record("Speak", "Speak " + std::to_string(flags) + " " + ToUtf8(text));
    return ++streams_;
  }
  void Pause() override { Record("Pause", "Pause"); }
  void Resume() override { Record("Resume", "Resume"); }

 private:
  void Record(const std::string& call, std::string record) {
    server_.Check(call);
    server_.calls.push_back(std::move(record));
  }

  FakeVoiceServer& server_;
  std::int32_t streams_ = 0;
};

}  // namespace

void FakeVoiceServer::Check(const std::string& call) const {
  if (failing.contains(call)) throw PlatformError(call + " failed", kFailure);
}

std::unique_ptr<platform::SpeechVoice> FakeVoiceServer::CreateVoice(platform::VoiceEventSink&) {
  if (unavailable) throw PlatformError("no speech server", 0x80040154);
  ++created;
  return std::make_unique<FakeVoice>(*this);
}

}  // namespace parlino::testing
