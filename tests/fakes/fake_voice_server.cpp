#include "tests/fakes/fake_voice_server.h"

namespace parlino::testing {
namespace {

class FakeToken final : public platform::VoiceToken {
 public:
  explicit FakeToken(Text description) : description_(std::move(description)) {}
  Text GetDescription(std::int32_t) const override { return description_; }

 private:
  Text description_;
};

class FakeTokens final : public platform::VoiceTokens {
 public:
  explicit FakeTokens(const std::vector<Text>& voices) {
    for (const Text& voice : voices) tokens_.push_back(std::make_shared<FakeToken>(voice));
  }
  std::int32_t Count() const override { return static_cast<std::int32_t>(tokens_.size()); }
  std::shared_ptr<const platform::VoiceToken> Item(std::int32_t index) const override {
    if (index < 0 || index >= Count()) throw PlatformError("index out of range");
    return tokens_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<std::shared_ptr<const platform::VoiceToken>> tokens_;
};

class FakeVoice final : public platform::SpeechVoice {
 public:
  explicit FakeVoice(const std::vector<Text>& voices) : voices_(voices) {}
  std::shared_ptr<const platform::VoiceTokens> GetVoices(TextView, TextView) override {
    return std::make_shared<FakeTokens>(voices_);
  }
  void SetVoice(std::shared_ptr<const platform::VoiceToken>) override {}
  void SetRate(std::int32_t) override {}
  void SetVolume(std::int32_t) override {}
  std::int32_t Speak(TextView, std::uint32_t) override { return 1; }
  void Pause() override {}
  void Resume() override {}

 private:
  const std::vector<Text>& voices_;
};

}  // namespace

std::unique_ptr<platform::SpeechVoice> FakeVoiceServer::CreateVoice(platform::VoiceEventSink&) {
  if (unavailable) throw PlatformError("no speech server", 0x80040154);
  ++created;
  return std::make_unique<FakeVoice>(voices);
}

}  // namespace parlino::testing
