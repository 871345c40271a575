#pragma once
// A modern voice server for tests. Its voice objects record every call in the server's log and
// speak only when the test says so; their events go through the message pump like real ones.
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/voice_server.h"

namespace parlino::testing {

class FakeSpeechVoice;

class FakeVoiceServer final : public platform::VoiceServer {
 public:
  explicit FakeVoiceServer(platform::MessagePump& pump,
                           std::vector<Text> voices = {u"Fake Anna", u"Fake Bert"});
  std::unique_ptr<platform::SpeechVoice> CreateVoice(platform::VoiceEventSink& sink) override;
  void SetNoticeHandler(std::function<void(TextView)> handler) override {
    noticeHandler = std::move(handler);
  }
  // What the program gave for notices; a test calls it as the server would.
  std::function<void(TextView)> noticeHandler;

  // The descriptions of the installed voices, in order.
  std::vector<Text> voices;
  // False: CreateVoice throws, as when the server is not installed.
  bool available = true;
  // Calls of voice objects and token lists that throw PlatformError ("<call> failed", status 3):
  // "GetVoices", "Item", "SetVoice", "SetRate", "SetVolume", "Speak", "Pause", "Resume".
  std::set<std::string> failing;
  std::optional<std::int32_t> itemFailsAt;  // Item throws for this position only
  // Every call, in order: "CreateVoice", "Release", "GetVoices", "SetVoice Fake Anna",
  // "SetRate -3", "SetVolume 100", "Speak <text> <flags>", "Pause", "Resume" (texts in UTF-8).
  std::vector<std::string> log;

  // Throws as `failing` says.
  void Check(const std::string& call) const;

  // The newest voice object that is still alive, or nullptr.
  FakeSpeechVoice* voice() const { return voice_; }

 private:
  friend class FakeSpeechVoice;
  platform::MessagePump& pump_;
  FakeSpeechVoice* voice_ = nullptr;
};

class FakeSpeechVoice final : public platform::SpeechVoice {
 public:
  FakeSpeechVoice(FakeVoiceServer& server, platform::VoiceEventSink& sink);
  ~FakeSpeechVoice() override;

  std::shared_ptr<const platform::VoiceTokens> GetVoices(TextView required,
                                                         TextView optional) override;
  void SetVoice(std::shared_ptr<const platform::VoiceToken> token) override;
  void SetRate(std::int32_t rate) override;
  void SetVolume(std::int32_t volume) override;
  std::int32_t Speak(TextView text, std::uint32_t flags) override;
  void Pause() override;
  void Resume() override;

  // What the object was set to (the voice by description) and holds.
  Text voice;
  std::int32_t rate = 0;
  std::int32_t volume = 100;
  bool paused = false;
  struct Stream {
    std::int32_t number;
    Text text;
  };
  std::deque<Stream> queued;  // spoken texts not yet played, in order

  // Posts the events of the oldest queued text: its start, a word event for every run of
  // characters other than spaces, and its end. Returns false when nothing is queued.
  bool PlayNext();
  void PlayAll() {
    while (PlayNext()) {
    }
  }
  // Single events, posted like real ones; may be called from any thread while the object lives.
  void PostStart(std::int32_t stream);
  void PostWord(std::int32_t stream, std::int32_t position, std::int32_t length);
  void PostEnd(std::int32_t stream);

 private:
  void Record(const std::string& call, std::string entry);
  void PostEvent(std::function<void(platform::VoiceEventSink&)> event);

  FakeVoiceServer& server_;
  // Cleared on release: events still waiting in the pump are dropped.
  std::shared_ptr<platform::VoiceEventSink*> sink_;
  std::int32_t lastStream_ = 0;
};

}  // namespace parlino::testing
