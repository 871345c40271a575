#include "tests/fakes/fake_legacy_engines.h"

#include <algorithm>

#include "platform/platform_error.h"

namespace parlino::testing {
namespace {

using platform::LegacyAudioOutput;
using platform::LegacyBufferNotifySink;
using platform::LegacyNotifySink;

template <typename T>
T Clamp(const FakeAttribute<T>& attribute, T request) {
  return std::clamp(request, attribute.min, attribute.max);
}

class FakeEngine final : public platform::LegacyEngine {
 public:
  FakeEngine(FakeLegacyEngineServer& server, std::shared_ptr<FakeLegacyInstance> instance)
      : server_(server), instance_(std::move(instance)) {}

  ~FakeEngine() override {
    // Releasing an instance drops everything it held.
    instance_->released = true;
    instance_->sinks.clear();
    instance_->bufferSink.reset();
    instance_->output.reset();
  }

  void TextData(std::string_view data, std::shared_ptr<LegacyBufferNotifySink> sink) override {
    Call("TextData", "TextData");
    instance_->texts.emplace_back(data);
    instance_->bufferSink = std::move(sink);
  }
  void Inject(const std::string& tag) override { Call("Inject", "Inject " + tag); }
  void AudioPause() override { Call("AudioPause", "AudioPause"); }
  void AudioResume() override { Call("AudioResume", "AudioResume"); }
  void AudioReset() override { Call("AudioReset", "AudioReset"); }

  std::uint32_t Register(std::shared_ptr<LegacyNotifySink> sink) override {
    server_.Check("Register");
    const std::uint32_t key = server_.nextKey++;
    instance_->calls.push_back("Register " + std::to_string(key));
    instance_->sinks[key] = std::move(sink);
    return key;
  }
  void UnRegister(std::uint32_t key) override {
    server_.Check("UnRegister");
    if (instance_->sinks.erase(key) == 0) {
      throw PlatformError("No sink is registered with this key", FakeLegacyEngineServer::kFailure);
    }
    instance_->calls.push_back("UnRegister " + std::to_string(key));
  }

  std::uint16_t PitchGet() override { return Get("PitchGet", instance_->mode.pitch.value); }
  void PitchSet(std::uint16_t pitch) override {
    Set("PitchSet", pitch, instance_->mode.pitch.value, Clamp(instance_->mode.pitch, pitch));
  }
  std::uint32_t SpeedGet() override { return Get("SpeedGet", instance_->mode.speed.value); }
  void SpeedSet(std::uint32_t speed) override {
    Set("SpeedSet", speed, instance_->mode.speed.value, Clamp(instance_->mode.speed, speed));
  }
  std::uint32_t VolumeGet() override { return Get("VolumeGet", instance_->mode.volume); }
  void VolumeSet(std::uint32_t volume) override {
    Set("VolumeSet", volume, instance_->mode.volume, volume);
  }
  std::uint32_t RealTimeGet() override {
    return Get("RealTimeGet", instance_->mode.realTime.value);
  }
  void RealTimeSet(std::uint32_t realTime) override {
    Set("RealTimeSet", realTime, instance_->mode.realTime.value,
        Clamp(instance_->mode.realTime, realTime));
  }

 private:
  void Call(const std::string& name, std::string record) {
    server_.Check(name);
    instance_->calls.push_back(std::move(record));
  }
  template <typename T>
  T Get(const std::string& name, T value) {
    server_.Check(name);
    return value;
  }
  template <typename T>
  void Set(const std::string& name, T request, T& value, T clamped) {
    Call(name, name + " " + std::to_string(request));
    value = clamped;
  }

  FakeLegacyEngineServer& server_;
  std::shared_ptr<FakeLegacyInstance> instance_;
};

class FakeEnum final : public platform::LegacyEngineEnum {
 public:
  explicit FakeEnum(FakeLegacyEngineServer& server) : server_(server) {}

  void Reset() override { position_ = 0; }
  std::optional<platform::LegacyEngineMode> Next() override {
    if (server_.nextFailsAfter && listed_ >= *server_.nextFailsAfter) {
      throw PlatformError("The mode list cannot be read", FakeLegacyEngineServer::kFailure);
    }
    if (position_ >= server_.modes.size()) return std::nullopt;
    ++listed_;
    return server_.Record(position_++);
  }
  void Skip(std::uint32_t count) override { position_ += count; }

  std::unique_ptr<platform::LegacyEngine> Select(
      const platform::Guid& modeId, std::shared_ptr<LegacyAudioOutput> output) override {
    server_.Check("Select");
    std::size_t index = 0;
    while (index < server_.modes.size() && server_.Record(index).modeId != modeId) ++index;
    if (index == server_.modes.size() || server_.modes[index].failsToSelect) {
      throw PlatformError("The engine mode cannot be selected", FakeLegacyEngineServer::kFailure);
    }
    auto instance = std::make_shared<FakeLegacyInstance>();
    instance->mode = server_.modes[index];
    instance->output = std::move(output);
    server_.instances.push_back(instance);
    return std::make_unique<FakeEngine>(server_, std::move(instance));
  }

 private:
  FakeLegacyEngineServer& server_;
  std::size_t position_ = 0;
  std::size_t listed_ = 0;
};

template <typename Send>
void ToEverySink(const FakeLegacyInstance& instance, Send send) {
  // A handler may select anew and so change the registrations while they are served.
  const auto sinks = instance.sinks;
  for (const auto& [key, sink] : sinks) send(*sink);
}

}  // namespace

FakeLegacyMode MakeFakeMode(const std::string& modeName, const std::string& speaker,
                            std::uint16_t gender) {
  FakeLegacyMode mode;
  mode.info.modeName = modeName;
  mode.info.speaker = speaker;
  mode.info.gender = gender;
  return mode;
}

void FakeLegacyInstance::SendAudioStart() {
  ToEverySink(*this, [](LegacyNotifySink& sink) { sink.AudioStart(0); });
}

void FakeLegacyInstance::SendAudioStop() {
  ToEverySink(*this, [](LegacyNotifySink& sink) { sink.AudioStop(0); });
}

void FakeLegacyInstance::SendVisual(std::uint32_t hints, const platform::LegacyMouth& mouth) {
  ToEverySink(*this, [&](LegacyNotifySink& sink) { sink.Visual(0, 'a', 'a', hints, mouth); });
}

void FakeLegacyInstance::SendWordPosition(std::uint32_t byteOffset) {
  if (const auto sink = bufferSink) sink->WordPosition(0, byteOffset);
}

void FakeLegacyAudioFile::Set(TextView fileName, std::uint32_t) {
  server_.Check("AudioFile::Set");
  files.emplace_back(fileName);
}

void FakeLegacyAudioFile::Flush() {
  server_.Check("AudioFile::Flush");
  ++flushes;
}

platform::LegacyEngineMode FakeLegacyEngineServer::Record(std::size_t index) const {
  platform::LegacyEngineMode record = modes.at(index).info;
  if (record.modeId == platform::Guid{})
    record.modeId.data1 = static_cast<std::uint32_t>(index + 1);
  return record;
}

std::unique_ptr<platform::LegacyEngineEnum> FakeLegacyEngineServer::CreateEnumerator() {
  Check("CreateEnumerator");
  return std::make_unique<FakeEnum>(*this);
}

std::shared_ptr<platform::LegacyAudioDevice> FakeLegacyEngineServer::CreateAudioDevice() {
  Check("CreateAudioDevice");
  ++audioDevices;
  return std::make_shared<platform::LegacyAudioDevice>();
}

std::shared_ptr<platform::LegacyAudioFile> FakeLegacyEngineServer::CreateAudioFile() {
  Check("CreateAudioFile");
  auto file = std::make_shared<FakeLegacyAudioFile>(*this);
  audioFiles.push_back(file);
  return file;
}

void FakeLegacyEngineServer::Check(const std::string& call) const {
  if (failing.contains(call)) throw PlatformError(call + " failed", kFailure);
}

}  // namespace parlino::testing
