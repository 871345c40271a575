#pragma once
// Legacy speech engines for tests: modes with their own attribute limits, engine instances that
// clamp like real engines and record what they were asked, and notifications sent on request.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/legacy_engines.h"

namespace parlino::testing {

// Set clamps a request into [min, max]; value is where a new instance starts.
template <typename T>
struct FakeAttribute {
  T min;
  T max;
  T value;
};

struct FakeLegacyMode {
  platform::LegacyEngineMode info;
  FakeAttribute<std::uint16_t> pitch{50, 250, 120};
  FakeAttribute<std::uint32_t> speed{60, 450, 170};
  FakeAttribute<std::uint32_t> realTime{0x40, 0x400, 0x100};
  std::uint32_t volume = 0xFFFFFFFF;  // any 32-bit value is a valid volume
  bool failsToSelect = false;         // Select throws for this mode
};

// A mode with the given names; the other fields keep their defaults.
FakeLegacyMode MakeFakeMode(const std::string& modeName, const std::string& speaker = "",
                            std::uint16_t gender = 0);

class FakeLegacyEngineServer;

// One engine instance made by Select. It outlives its release so that tests can inspect it and
// check that it no longer reaches the component.
class FakeLegacyInstance {
 public:
  FakeLegacyMode mode;
  std::shared_ptr<platform::LegacyAudioOutput> output;
  // Every call that changes something, in order: "TextData", "Inject \Pit=120\",
  // "PitchSet 120", "SpeedSet 170", "VolumeSet 4294967295", "RealTimeSet 0", "AudioPause",
  // "AudioResume", "AudioReset", "Register 1", "UnRegister 1".
  std::vector<std::string> calls;
  std::vector<std::string> texts;  // the data of each TextData, with its 0 byte
  std::map<std::uint32_t, std::shared_ptr<platform::LegacyNotifySink>> sinks;  // by key
  std::shared_ptr<platform::LegacyBufferNotifySink> bufferSink;  // of the last TextData
  bool released = false;

  // Notifications to every registered sink, as the engine sends them while it plays.
  void SendAudioStart();
  void SendAudioStop();
  void SendVisual(std::uint32_t hints, const platform::LegacyMouth& mouth);
  void SendWordPosition(std::uint32_t byteOffset);
};

class FakeLegacyAudioFile final : public platform::LegacyAudioFile {
 public:
  explicit FakeLegacyAudioFile(FakeLegacyEngineServer& server) : server_(server) {}
  void Set(TextView fileName, std::uint32_t flags) override;
  void Flush() override;

  std::vector<Text> files;  // every file name given to Set
  int flushes = 0;

 private:
  FakeLegacyEngineServer& server_;
};

class FakeLegacyEngineServer final : public platform::LegacyEngineServer {
 public:
  explicit FakeLegacyEngineServer(std::vector<FakeLegacyMode> initialModes = {})
      : modes(std::move(initialModes)) {}

  std::unique_ptr<platform::LegacyEngineEnum> CreateEnumerator() override;
  std::shared_ptr<platform::LegacyAudioDevice> CreateAudioDevice() override;
  std::shared_ptr<platform::LegacyAudioFile> CreateAudioFile() override;

  // Throws PlatformError (status kFailure) when the named call is in `failing`. Names are those
  // of the interface: "CreateEnumerator", "CreateAudioDevice", "CreateAudioFile", "Select",
  // "Register", "UnRegister", "TextData", "Inject", "AudioPause", "PitchSet", "PitchGet",
  // "VolumeSet", "AudioFile::Set", ...
  void Check(const std::string& call) const;
  // The description of modes[index] as the enumerator lists it: a mode id left zero becomes
  // index + 1 in data1, so that every mode can be selected.
  platform::LegacyEngineMode Record(std::size_t index) const;

  static constexpr std::int64_t kFailure = -2147467259;  // E_FAIL

  std::vector<FakeLegacyMode> modes;
  std::set<std::string> failing;
  std::optional<std::size_t> nextFailsAfter;  // Next throws after listing so many modes
  std::vector<std::shared_ptr<FakeLegacyInstance>> instances;  // every instance, in order
  std::vector<std::shared_ptr<FakeLegacyAudioFile>> audioFiles;
  int audioDevices = 0;
  std::uint32_t nextKey = 1;
};

}  // namespace parlino::testing
