#include "speech/sapi5/sp_voice.h"

namespace parlino::speech {

void TSpVoice::Connect() {
  if (!voice_) voice_ = server_.CreateVoice(*this);
}

void TSpVoice::Disconnect() {
  voice_.reset();
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

void TSpVoice::StreamStarted(std::int32_t stream) {
  if (OnStartStream) OnStartStream(*this, stream);
}

void TSpVoice::StreamEnded(std::int32_t stream) {
  if (OnEndStream) OnEndStream(*this, stream);
}

void TSpVoice::WordReached(std::int32_t stream, std::int32_t position, std::int32_t length) {
  if (OnWord) OnWord(*this, stream, position, length);
}

}  // namespace parlino::speech
