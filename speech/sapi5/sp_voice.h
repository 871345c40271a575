#pragma once
// The application's handle on one modern voice object: connects to the voice server, passes
// every call through and hands the object's start, end and word events to its handlers.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/text.h"
#include "platform/voice_server.h"

namespace parlino::speech {

class TSpVoice final {
 public:
  explicit TSpVoice(platform::VoiceServer& server);
  TSpVoice(const TSpVoice&) = delete;
  TSpVoice& operator=(const TSpVoice&) = delete;

  // Does nothing when connected; a failure throws PlatformError and leaves it disconnected.
  void Connect();
  // Does nothing when disconnected. Releasing the object stops its speech, with no end event.
  void Disconnect();
  bool Connected() const { return voice_ != nullptr; }

  // Every operation below connects first when disconnected.
  void SetVoice(std::shared_ptr<const platform::VoiceToken> token);
  void SetRate(std::int32_t rate);
  void SetVolume(std::int32_t volume);
  std::int32_t Speak(TextView text, std::uint32_t flags);
  void Pause();
  void Resume();
  std::shared_ptr<const platform::VoiceTokens> GetVoices(TextView required, TextView optional);

  // Event handlers, called on the user-interface thread with the adapter as sender. A handler may
  // call back into the adapter, Disconnect included.
  std::function<void(TSpVoice& sender, std::int32_t stream)> OnStartStream;
  std::function<void(TSpVoice& sender, std::int32_t stream)> OnEndStream;
  std::function<void(TSpVoice& sender, std::int32_t stream, std::int32_t position,
                     std::int32_t length)>
      OnWord;

 private:
  // The object's events come here; the handlers share their names, hence a member of its own.
  class Events final : public platform::VoiceEventSink {
   public:
    explicit Events(TSpVoice& owner) : owner_(owner) {}
    void OnStartStream(std::int32_t stream) override;
    void OnEndStream(std::int32_t stream) override;
    void OnWord(std::int32_t stream, std::int32_t position, std::int32_t length) override;

   private:
    TSpVoice& owner_;
  };

  platform::SpeechVoice& Voice();

  platform::VoiceServer& server_;
  Events events_{*this};
  std::unique_ptr<platform::SpeechVoice> voice_;
};

}  // namespace parlino::speech
