#include "platform/linux/flite_engine_server.h"

#include <flite/flite_version.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <charconv>
#include <chrono>
#include <map>
#include <optional>
#include <ratio>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/linux/audio_channel.h"
#include "platform/linux/flite_library.h"
#include "platform/linux/flite_text.h"
#include "platform/linux/sdl_audio_device.h"
#include "platform/linux/synthesis_thread.h"
#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

// The engine's identifier; a mode's is the same with its position plus one in the last byte.
constexpr Guid kEngineId{
    0x6F1D2C8A, 0x5B3E, 0x4C71, {0x9A, 0x0E, 0x3D, 0x57, 0xC2, 0x8B, 0x41, 0x00}};

// Published values of the mode description's age, feature and interface fields.
constexpr std::uint16_t kAgeAdult = 30;
constexpr std::uint32_t kFeatureVolume = 1u << 1;
constexpr std::uint32_t kFeatureSpeed = 1u << 2;
constexpr std::uint32_t kFeaturePitch = 1u << 3;
constexpr std::uint32_t kFeaturePcOptimized = 1u << 8;
constexpr std::uint32_t kInterfaceAttributes = 1u << 1;
constexpr std::uint32_t kInterfaceCentral = 1u << 2;

// Flite always synthesises far faster than real time, so the share of real time it may take
// (in percent) is not adjustable.
constexpr std::uint32_t kRealTime = 100;
constexpr std::uint32_t kFullVolume = 0xFFFFFFFF;

Guid ModeId(std::size_t index) {
  Guid id = kEngineId;
  id.data4[7] = static_cast<std::uint8_t>(index + 1);
  return id;
}

LegacyEngineMode DescribeMode(const FliteVoice& voice, std::size_t index) {
  LegacyEngineMode mode;
  mode.engineId = kEngineId;
  mode.mfgName = "Carnegie Mellon University";
  mode.productName = std::string("Flite ") + FLITE_PROJECT_VERSION;
  mode.modeId = ModeId(index);
  mode.speaker = "Flite " + voice.name;
  mode.modeName = mode.speaker + ": " + voice.dialect + ", " +
                  (voice.gender == 1 ? "female" : "male") + ", " +
                  std::to_string(voice.sampleRate / 1000) + " kHz";
  mode.dialect = voice.dialect;
  mode.style = "Normal";
  mode.gender = voice.gender;
  mode.age = kAgeAdult;
  mode.features = kFeatureVolume | kFeatureSpeed | kFeaturePcOptimized |
                  (voice.minPitch < voice.maxPitch ? kFeaturePitch : 0u);
  mode.interfaces = kInterfaceAttributes | kInterfaceCentral;
  return mode;
}

// Notification time stamps: the monotonic clock in units of 100 nanoseconds.
std::uint64_t TimeStamp() {
  using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint64_t>(std::chrono::duration_cast<Ticks>(now).count());
}

// The output object Select takes: Flite plays to the audio device that every engine instance
// opens for itself.
class FliteAudioDevice final : public LegacyAudioDevice {};

class FliteEngine final : public LegacyEngine, private VoiceEventSink {
 public:
  FliteEngine(const FliteVoice& voice, std::shared_ptr<SynthesisThread> synthesis,
              MessagePump& pump, const CodePage& codePage,
              std::shared_ptr<LegacyAudioOutput> output, SdlAudioDevice::SilentNotice onSilent)
      : voice_(voice),
        codePage_(codePage),
        output_(std::move(output)),
        onSilent_(std::move(onSilent)),
        synthesis_(std::move(synthesis)),
        // One second of audio is kept ready ahead of playback.
        channel_(std::make_shared<AudioChannel>(pump, static_cast<VoiceEventSink&>(*this),
                                                static_cast<std::size_t>(voice.sampleRate),
                                                [thread = synthesis_.get()] { thread->Wake(); })),
        speed_(voice.normalSpeed),
        pitch_(voice.normalPitch) {
    synthesis_->Add(channel_);
  }

  ~FliteEngine() override {
    // Nothing reaches the sinks from now on, not even from a notification being delivered.
    *alive_ = false;
    channel_->Close();
    device_.reset();
    synthesis_->Remove(channel_.get());
  }

  void TextData(std::string_view data, std::shared_ptr<LegacyBufferNotifySink> sink) override {
    Text text = FliteText(codePage_.ToWide(data.substr(0, data.find('\0'))));
    // Opened before the text is queued, so that the first samples go out the moment they are
    // made.
    if (!device_) {
      device_ = std::make_unique<SdlAudioDevice>(
          voice_.sampleRate, 2, [this](std::span<std::int16_t> out) { Play(out); }, onSilent_);
    }
    const std::int32_t stream = ++lastQueued_;
    if (sink) bufferSinks_[stream] = std::move(sink);
    VoiceSettings settings{voice_.name, static_cast<int>(speed_), 100};
    channel_->Queue({stream, std::move(text), 0, pitch_, std::move(settings)});
  }

  // The attribute tags "\Spd=n\", "\Pit=n\" and "\Vol=n\" set their attribute for the text
  // queued after them.
  void Inject(const std::string& tag) override {
    const auto bad = [&] { return PlatformError("Flite does not understand the tag " + tag); };
    if (tag.size() < 7 || tag.front() != '\\' || tag.back() != '\\' || tag[4] != '=') throw bad();
    std::string name = tag.substr(1, 3);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) {
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    std::uint32_t value = 0;
    const char* first = tag.data() + 5;
    const char* last = tag.data() + tag.size() - 1;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) throw bad();
    if (name == "spd") {
      SpeedSet(value);
    } else if (name == "pit") {
      PitchSet(static_cast<std::uint16_t>(std::min<std::uint32_t>(value, 0xFFFF)));
    } else if (name == "vol") {
      VolumeSet(value);
    } else {
      throw bad();
    }
  }

  void AudioPause() override { channel_->SetPaused(true); }
  void AudioResume() override { channel_->SetPaused(false); }
  void AudioReset() override {
    channel_->Purge();
    channel_->SetPaused(false);
    bufferSinks_.clear();
    resetPoint_ = lastQueued_;
  }

  std::uint32_t Register(std::shared_ptr<LegacyNotifySink> sink) override {
    if (!sink) throw PlatformError("No notification sink to register");
    const std::uint32_t key = nextKey_++;
    sinks_[key] = std::move(sink);
    return key;
  }
  void UnRegister(std::uint32_t key) override {
    if (sinks_.erase(key) == 0)
      throw PlatformError("No notification sink has the key " + std::to_string(key));
  }

  std::uint16_t PitchGet() override { return pitch_; }
  void PitchSet(std::uint16_t pitch) override {
    pitch_ = std::clamp(pitch, voice_.minPitch, voice_.maxPitch);
  }
  std::uint32_t SpeedGet() override { return speed_; }
  void SpeedSet(std::uint32_t speed) override {
    speed_ = std::clamp(speed, voice_.minSpeed, voice_.maxSpeed);
  }
  std::uint32_t VolumeGet() override { return volume_.load(); }
  void VolumeSet(std::uint32_t volume) override { volume_.store(volume); }
  std::uint32_t RealTimeGet() override { return kRealTime; }
  void RealTimeSet(std::uint32_t) override {}

 private:
  // The audio thread: the channel's samples on both channels, each at its own level.
  void Play(std::span<std::int16_t> out) {
    const std::size_t frames = out.size() / 2;
    mono_.resize(frames);
    channel_->Fill(mono_);
    const std::uint32_t volume = volume_.load();
    const std::int32_t left = static_cast<std::int32_t>(volume & 0xFFFF);
    const std::int32_t right = static_cast<std::int32_t>(volume >> 16);
    for (std::size_t i = 0; i < frames; ++i) {
      out[2 * i] = static_cast<std::int16_t>(mono_[i] * left / 0xFFFF);
      out[2 * i + 1] = static_cast<std::int16_t>(mono_[i] * right / 0xFFFF);
    }
  }

  // The channel reports each text as a stream of its own; the audio starts with the first one
  // and stops after the last one queued, or after a reset.
  void OnStartStream(std::int32_t stream) override {
    const std::shared_ptr<bool> alive = alive_;
    const std::uint64_t now = TimeStamp();
    const bool starts = !audioStarted_;
    audioStarted_ = true;
    const auto found = bufferSinks_.find(stream);
    if (found != bufferSinks_.end()) found->second->TextDataStarted(now);
    if (starts && *alive) Notify(alive, [&](LegacyNotifySink& sink) { sink.AudioStart(now); });
  }

  void OnEndStream(std::int32_t stream) override {
    const std::shared_ptr<bool> alive = alive_;
    const std::uint64_t now = TimeStamp();
    const bool stops = audioStarted_ && (stream >= lastQueued_ || stream <= resetPoint_);
    if (stops) audioStarted_ = false;
    std::shared_ptr<LegacyBufferNotifySink> buffer;
    if (const auto found = bufferSinks_.find(stream); found != bufferSinks_.end()) {
      buffer = std::move(found->second);
      bufferSinks_.erase(found);
    }
    if (buffer) buffer->TextDataDone(now, 0);
    if (stops && *alive) Notify(alive, [&](LegacyNotifySink& sink) { sink.AudioStop(now); });
  }

  void OnWord(std::int32_t, std::int32_t, std::int32_t) override {}

  // A sink may release this engine; the others then hear nothing more from it.
  template <typename Send>
  void Notify(const std::shared_ptr<bool>& alive, Send send) {
    std::vector<std::shared_ptr<LegacyNotifySink>> sinks;
    for (const auto& [key, sink] : sinks_) sinks.push_back(sink);
    for (const auto& sink : sinks) {
      if (!*alive) return;
      send(*sink);
    }
  }

  const FliteVoice& voice_;
  const CodePage& codePage_;
  const std::shared_ptr<LegacyAudioOutput> output_;
  const SdlAudioDevice::SilentNotice onSilent_;
  const std::shared_ptr<SynthesisThread> synthesis_;
  const std::shared_ptr<AudioChannel> channel_;
  std::unique_ptr<SdlAudioDevice> device_;  // opened by the first text
  std::vector<std::int16_t> mono_;          // the audio thread's
  const std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  std::uint32_t speed_;
  std::uint16_t pitch_;
  std::atomic<std::uint32_t> volume_{kFullVolume};  // read by the audio thread

  std::map<std::uint32_t, std::shared_ptr<LegacyNotifySink>> sinks_;
  std::uint32_t nextKey_ = 1;
  std::map<std::int32_t, std::shared_ptr<LegacyBufferNotifySink>> bufferSinks_;
  std::int32_t lastQueued_ = 0;
  std::int32_t resetPoint_ = 0;  // every stream up to this one was discarded by a reset
  bool audioStarted_ = false;
};

class FliteEnum final : public LegacyEngineEnum {
 public:
  FliteEnum(std::shared_ptr<SynthesisThread> synthesis, MessagePump& pump, const CodePage& codePage,
            SdlAudioDevice::SilentNotice onSilent)
      : synthesis_(std::move(synthesis)),
        pump_(pump),
        codePage_(codePage),
        onSilent_(std::move(onSilent)),
        voices_(FliteLibrary::Instance().voices()) {}

  void Reset() override { position_ = 0; }
  std::optional<LegacyEngineMode> Next() override {
    if (position_ >= voices_.size()) return std::nullopt;
    const std::size_t index = position_++;
    return DescribeMode(voices_[index], index);
  }
  void Skip(std::uint32_t count) override { position_ += count; }

  std::unique_ptr<LegacyEngine> Select(const Guid& modeId,
                                       std::shared_ptr<LegacyAudioOutput> output) override {
    if (dynamic_cast<FliteAudioDevice*>(output.get()) == nullptr) {
      throw PlatformError("Flite voices play only to the audio device the server made");
    }
    for (std::size_t index = 0; index < voices_.size(); ++index) {
      if (ModeId(index) == modeId) {
        return std::make_unique<FliteEngine>(voices_[index], synthesis_, pump_, codePage_,
                                             std::move(output), onSilent_);
      }
    }
    throw PlatformError("Flite has no engine mode of that identifier");
  }

 private:
  const std::shared_ptr<SynthesisThread> synthesis_;
  MessagePump& pump_;
  const CodePage& codePage_;
  const SdlAudioDevice::SilentNotice onSilent_;
  const std::vector<FliteVoice>& voices_;
  std::size_t position_ = 0;
};

}  // namespace

FliteEngineServer::FliteEngineServer(MessagePump& pump, const CodePage& codePage)
    : pump_(pump), codePage_(codePage) {}

std::unique_ptr<LegacyEngineEnum> FliteEngineServer::CreateEnumerator() {
  FliteLibrary& library = FliteLibrary::Instance();
  if (library.voices().empty()) throw PlatformError("No Flite voice could be loaded");
  if (!synthesis_) synthesis_ = SynthesisThread::Acquire(library);
  return std::make_unique<FliteEnum>(synthesis_, pump_, codePage_, notices_.ForDevice());
}

std::shared_ptr<LegacyAudioDevice> FliteEngineServer::CreateAudioDevice() {
  return std::make_shared<FliteAudioDevice>();
}

std::shared_ptr<LegacyAudioFile> FliteEngineServer::CreateAudioFile() {
  throw PlatformError("Flite voices play to the audio device only, not to wave files");
}

void FliteEngineServer::SetNoticeHandler(std::function<void(TextView)> handler) {
  notices_.SetHandler(std::move(handler));
}

}  // namespace parlino::platform::linux_impl
