#include "tests/fakes/fake_voice_server.h"

#include <utility>

#include "platform/platform_error.h"

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
  explicit FakeTokens(const FakeVoiceServer& server) : server_(server) {
    for (const Text& voice : server.voices) tokens_.push_back(std::make_shared<FakeToken>(voice));
  }
  std::int32_t Count() const override { return static_cast<std::int32_t>(tokens_.size()); }
  std::shared_ptr<const platform::VoiceToken> Item(std::int32_t index) const override {
    server_.Check("Item");
    if (index < 0 || index >= Count() || index == server_.itemFailsAt) {
      throw PlatformError("Fake voice index out of range", 1);
    }
    return tokens_[static_cast<std::size_t>(index)];
  }

 private:
  const FakeVoiceServer& server_;
  std::vector<std::shared_ptr<const platform::VoiceToken>> tokens_;
};

}  // namespace

FakeVoiceServer::FakeVoiceServer(platform::MessagePump& pump, std::vector<Text> voiceList)
    : voices(std::move(voiceList)), pump_(pump) {}

void FakeVoiceServer::Check(const std::string& call) const {
  if (failing.contains(call)) throw PlatformError(call + " failed", 3);
}

std::unique_ptr<platform::SpeechVoice> FakeVoiceServer::CreateVoice(
    platform::VoiceEventSink& sink) {
  if (!available) throw PlatformError("Fake voice server is not available", 2);
  log.push_back("CreateVoice");
  auto created = std::make_unique<FakeSpeechVoice>(*this, sink);
  voice_ = created.get();
  return created;
}

FakeSpeechVoice::FakeSpeechVoice(FakeVoiceServer& server, platform::VoiceEventSink& sink)
    : server_(server), sink_(std::make_shared<platform::VoiceEventSink*>(&sink)) {}

FakeSpeechVoice::~FakeSpeechVoice() {
  *sink_ = nullptr;
  server_.log.push_back("Release");
  if (server_.voice_ == this) server_.voice_ = nullptr;
}

void FakeSpeechVoice::Record(const std::string& call, std::string entry) {
  server_.Check(call);
  server_.log.push_back(std::move(entry));
}

std::shared_ptr<const platform::VoiceTokens> FakeSpeechVoice::GetVoices(TextView, TextView) {
  Record("GetVoices", "GetVoices");
  return std::make_shared<FakeTokens>(server_);
}

void FakeSpeechVoice::SetVoice(std::shared_ptr<const platform::VoiceToken> token) {
  if (!token) throw PlatformError("Fake voice: no token", 4);
  Record("SetVoice", "SetVoice " + ToUtf8(token->GetDescription(0)));
  voice = token->GetDescription(0);
}

void FakeSpeechVoice::SetRate(std::int32_t value) {
  Record("SetRate", "SetRate " + std::to_string(value));
  rate = value;
}

void FakeSpeechVoice::SetVolume(std::int32_t value) {
  Record("SetVolume", "SetVolume " + std::to_string(value));
  volume = value;
}

std::int32_t FakeSpeechVoice::Speak(TextView text, std::uint32_t flags) {
  Record("Speak", "Speak " + ToUtf8(text) + " " + std::to_string(flags));
  if ((flags & platform::kSpeakPurgeBeforeSpeak) != 0) queued.clear();
  if (text.empty() && (flags & platform::kSpeakPurgeBeforeSpeak) != 0) return 0;
  queued.push_back({++lastStream_, Text(text)});
  return lastStream_;
}

void FakeSpeechVoice::Pause() {
  Record("Pause", "Pause");
  paused = true;
}

void FakeSpeechVoice::Resume() {
  Record("Resume", "Resume");
  paused = false;
}

bool FakeSpeechVoice::PlayNext() {
  if (queued.empty()) return false;
  const Stream stream = queued.front();
  queued.pop_front();
  PostStart(stream.number);
  for (std::size_t i = 0; i < stream.text.size();) {
    if (stream.text[i] == u' ') {
      ++i;
      continue;
    }
    const std::size_t end = std::min(stream.text.find(u' ', i), stream.text.size());
    PostWord(stream.number, static_cast<std::int32_t>(i), static_cast<std::int32_t>(end - i));
    i = end;
  }
  PostEnd(stream.number);
  return true;
}

void FakeSpeechVoice::PostStart(std::int32_t stream) {
  PostEvent([stream](platform::VoiceEventSink& sink) { sink.OnStartStream(stream); });
}

void FakeSpeechVoice::PostWord(std::int32_t stream, std::int32_t position, std::int32_t length) {
  PostEvent([=](platform::VoiceEventSink& sink) { sink.OnWord(stream, position, length); });
}

void FakeSpeechVoice::PostEnd(std::int32_t stream) {
  PostEvent([stream](platform::VoiceEventSink& sink) { sink.OnEndStream(stream); });
}

void FakeSpeechVoice::PostEvent(std::function<void(platform::VoiceEventSink&)> event) {
  server_.pump_.Post([sink = sink_, event = std::move(event)] {
    if (*sink != nullptr) event(**sink);
  });
}

}  // namespace parlino::testing
