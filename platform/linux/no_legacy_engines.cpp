#include "platform/linux/no_legacy_engines.h"

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

class EmptyEnum final : public LegacyEngineEnum {
 public:
  void Reset() override {}
  std::optional<LegacyEngineMode> Next() override { return std::nullopt; }
  void Skip(std::uint32_t) override {}
  std::unique_ptr<LegacyEngine> Select(const Guid&, std::shared_ptr<LegacyAudioOutput>) override {
    throw PlatformError("There is no legacy speech engine mode to select");
  }
};

}  // namespace

std::unique_ptr<LegacyEngineEnum> NoLegacyEngines::CreateEnumerator() {
  return std::make_unique<EmptyEnum>();
}

std::shared_ptr<LegacyAudioDevice> NoLegacyEngines::CreateAudioDevice() {
  throw PlatformError("Legacy speech engines have no audio output on this system");
}

std::shared_ptr<LegacyAudioFile> NoLegacyEngines::CreateAudioFile() {
  throw PlatformError("Legacy speech engines have no audio output on this system");
}

}  // namespace parlino::platform::linux_impl
