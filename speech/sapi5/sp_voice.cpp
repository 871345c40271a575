#include "speech/sapi5/sp_voice.h"

#include <utility>

namespace parlino::speech {

TSpVoice::TSpVoice(platform::VoiceServer& server) : server_(server) {}

void TSpVoice::Connect() {
  if (voice_) return;
  voice_ = server_.CreateVoice(events_);
}

void TSpVoice::Disconnect() {
  // Moved out first: a handler that runs during the release finds the adapter disconnected.
  std::unique_ptr<platform::SpeechVoice> released = std::move(voice_);
}

platform::SpeechVoice& TSpVoice::Voice() {
  Connect();
  return *voice_;
}

void TSpVoice::SetVoice(std::shared_ptr<const platform::VoiceToken> token) {
  Voice().SetVoice(std::move(token));
}

void TSpVoice::SetRate(std::int32_t rate) {
  Voice().SetRate(rate);
}

void TSpVoice::SetVolume(std::int32_t volume) {
  Voice().SetVolume(volume);
}

std::int32_t TSpVoice::Speak(TextView text, std::uint32_t flags) {
  return Voice().Speak(text, flags);
}

void TSpVoice::Pause() {
  Voice().Pause();
}

void TSpVoice::Resume() {
  Voice().Resume();
}

std::shared_ptr<const platform::VoiceTokens> TSpVoice::GetVoices(TextView required,
                                                                 TextView optional) {
  return Voice().GetVoices(required, optional);
}

// Each handler is copied before the call, so that it may reassign itself while it runs.
void TSpVoice::Events::OnStartStream(std::int32_t stream) {
  if (auto handler = owner_.OnStartStream) handler(owner_, stream);
}

void TSpVoice::Events::OnEndStream(std::int32_t stream) {
  if (auto handler = owner_.OnEndStream) handler(owner_, stream);
}

void TSpVoice::Events::OnWord(std::int32_t stream, std::int32_t position, std::int32_t length) {
  if (auto handler = owner_.OnWord) handler(owner_, stream, position, length);
}

}  // namespace parlino::speech
