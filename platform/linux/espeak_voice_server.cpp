#include "platform/linux/espeak_voice_server.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/audio_channel.h"
#include "platform/linux/espeak_library.h"
#include "platform/linux/sdl_audio_device.h"
#include "platform/linux/speech_text.h"
#include "platform/linux/synthesis_thread.h"
#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

// espeak-ng's own default voice.
constexpr const char* kDefaultVoice = "en";

class EspeakToken final : public VoiceToken {
 public:
  explicit EspeakToken(EspeakVoiceInfo info) : info_(std::move(info)) {}
  Text GetDescription(std::int32_t) const override { return info_.name; }
  const std::string& identifier() const { return info_.identifier; }

 private:
  EspeakVoiceInfo info_;
};

class EspeakTokens final : public VoiceTokens {
 public:
  explicit EspeakTokens(const std::vector<EspeakVoiceInfo>& voices) {
    for (const EspeakVoiceInfo& voice : voices) {
      tokens_.push_back(std::make_shared<EspeakToken>(voice));
    }
  }
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

class EspeakVoice final : public SpeechVoice {
 public:
  EspeakVoice(EspeakLibrary& library, MessagePump& pump, VoiceEventSink& sink,
              SdlAudioDevice::SilentNotice onSilent)
      : library_(library),
        synthesis_(SynthesisThread::Acquire(library)),
        onSilent_(std::move(onSilent)),
        sampleRate_(library.SampleRate()),
        // One second of audio is kept ready ahead of playback.
        channel_(std::make_shared<AudioChannel>(pump, sink, static_cast<std::size_t>(sampleRate_),
                                                [thread = synthesis_.get()] { thread->Wake(); })) {
    settings_.voice = kDefaultVoice;
    settings_.wordsPerMinute = WordsPerMinute(0);
    synthesis_->Add(channel_);
  }

  ~EspeakVoice() override {
    // Closing the channel silences it and releases an audio thread waiting for samples; then
    // the device stops, and the synthesis forgets the channel.
    channel_->Close();
    device_.reset();
    synthesis_->Remove(channel_.get());
  }

  std::shared_ptr<const VoiceTokens> GetVoices(TextView required, TextView) override {
    // Attributes to require are not understood here; listing every voice would be wrong.
    if (!required.empty()) throw PlatformError("Required voice attributes are not supported");
    return std::make_shared<EspeakTokens>(library_.ListVoices());
  }

  void SetVoice(std::shared_ptr<const VoiceToken> token) override {
    const auto* espeakToken = dynamic_cast<const EspeakToken*>(token.get());
    if (espeakToken == nullptr) {
      throw PlatformError("The voice token does not belong to espeak-ng");
    }
    settings_.voice = espeakToken->identifier();
  }

  void SetRate(std::int32_t rate) override { settings_.wordsPerMinute = WordsPerMinute(rate); }

  void SetVolume(std::int32_t volume) override { settings_.volume = std::clamp(volume, 0, 100); }

  std::int32_t Speak(TextView text, std::uint32_t flags) override {
    if ((flags & ~(kSpeakAsync | kSpeakPurgeBeforeSpeak)) != 0) {
      throw PlatformError("Unsupported speak flags " + std::to_string(flags));
    }
    const bool purge = (flags & kSpeakPurgeBeforeSpeak) != 0;
    if (purge && text.empty()) {
      channel_->Purge();
      return 0;
    }
    // Waiting on the user-interface thread for speech to end would freeze the program.
    if ((flags & kSpeakAsync) == 0) throw PlatformError("Text can only be spoken asynchronously");
    // Opened before the text is queued: the device's thread then waits in the channel, and the
    // first samples go out the moment they are made.
    if (!device_) {
      device_ = std::make_unique<SdlAudioDevice>(
          sampleRate_, 1,
          [channel = channel_.get()](std::span<std::int16_t> out) { channel->Fill(out); },
          onSilent_);
    }
    if (purge) channel_->Purge();
    const SpeechText parsed = ParseSpeechText(text);
    channel_->Queue({++lastStream_, Text(parsed.body), parsed.offset, parsed.pitch, settings_});
    return lastStream_;
  }

  void Pause() override { channel_->SetPaused(true); }
  void Resume() override { channel_->SetPaused(false); }

 private:
  EspeakLibrary& library_;
  const std::shared_ptr<SynthesisThread> synthesis_;
  const SdlAudioDevice::SilentNotice onSilent_;
  const int sampleRate_;
  const std::shared_ptr<AudioChannel> channel_;
  std::unique_ptr<SdlAudioDevice> device_;  // opened by the first text to speak
  VoiceSettings settings_;
  std::int32_t lastStream_ = 0;
};

}  // namespace

EspeakVoiceServer::EspeakVoiceServer(MessagePump& pump) : pump_(pump) {}

std::unique_ptr<SpeechVoice> EspeakVoiceServer::CreateVoice(VoiceEventSink& sink) {
  return std::make_unique<EspeakVoice>(EspeakLibrary::Instance(), pump_, sink,
                                       notices_.ForDevice());
}

void EspeakVoiceServer::SetNoticeHandler(std::function<void(TextView)> handler) {
  notices_.SetHandler(std::move(handler));
}

}  // namespace parlino::platform::linux_impl
