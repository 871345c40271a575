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
