#include "platform/linux/espeak_voice_server.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

struct EspeakVoiceInfo {
  std::string identifier;  // file within espeak-ng-data/voices
  Text name;
};

class EspeakToken final : public VoiceToken {
 public:
  explicit EspeakToken(EspeakVoiceInfo info) : info_(std::move(info)) {}
  Text GetDescription(std::int32_t) const override { return info_.name; }
  const EspeakVoiceInfo& info() const { return info_; }

 private:
  EspeakVoiceInfo info_;
};

class EspeakTokens final : public VoiceTokens {
 public:
  explicit EspeakTokens(std::vector<std::shared_ptr<const VoiceToken>> tokens)
      : tokens_(std::move(tokens)) {}
  std::int32_t Count() const override { return static_cast<std::int32_t>(tokens_.size()); }
  std::shared_ptr<const VoiceToken> Item(std::int32_t index) const override {
    if (index < 0 || index >= Count()) {
      throw PlatformError("Voice index " + std::to_string(index) + " is out of range");
    }
    return tokens_[static_cast<std::size_t>(index)];
  }

 private:
  std::vector<std::shared_ptr<const VoiceToken>> tokens_;
};

// The installed voices that can speak here, in espeak-ng's order (MBROLA voices need data files
// that are rarely installed, so they are left out).
const std::vector<std::shared_ptr<const VoiceToken>>& InstalledVoices() {
  static std::once_flag once;
  static std::vector<std::shared_ptr<const VoiceToken>> voices;
  std::call_once(once, [] {
    espeak_ng_InitializePath(nullptr);
    const espeak_VOICE** list = espeak_ListVoices(nullptr);
    for (std::size_t i = 0; list != nullptr && list[i] != nullptr; ++i) {
      const std::string identifier = list[i]->identifier != nullptr ? list[i]->identifier : "";
      if (identifier.empty() || identifier.starts_with("mb/")) continue;
      voices.push_back(std::make_shared<EspeakToken>(
          EspeakVoiceInfo{identifier, FromUtf8(list[i]->name != nullptr ? list[i]->name : "")}));
    }
  });
  return voices;
}

class EspeakVoice final : public SpeechVoice {
 public:
  std::shared_ptr<const VoiceTokens> GetVoices(TextView, TextView) override {
    return std::make_shared<EspeakTokens>(InstalledVoices());
  }
  void SetVoice(std::shared_ptr<const VoiceToken> token) override { token_ = std::move(token); }
  void SetRate(std::int32_t rate) override { rate_ = rate; }
  void SetVolume(std::int32_t volume) override { volume_ = volume; }
  std::int32_t Speak(TextView, std::uint32_t) override {
    throw PlatformError("Speaking is not available yet");
  }
  void Pause() override {}
  void Resume() override {}

 private:
  std::shared_ptr<const VoiceToken> token_;
  std::int32_t rate_ = 0;
  std::int32_t volume_ = 100;
};

}  // namespace

EspeakVoiceServer::EspeakVoiceServer(MessagePump& pump) : pump_(pump) {}

std::unique_ptr<SpeechVoice> EspeakVoiceServer::CreateVoice(VoiceEventSink&) {
  return std::make_unique<EspeakVoice>();
}

}  // namespace parlino::platform::linux_impl
