#pragma once
// Linux has no legacy text-to-speech engines: the enumerator exists and lists no mode, so the
// program offers only the modern voices.
#include "platform/legacy_engines.h"

namespace parlino::platform::linux_impl {

class NoLegacyEngines final : public LegacyEngineServer {
 public:
  std::unique_ptr<LegacyEngineEnum> CreateEnumerator() override;
  std::shared_ptr<LegacyAudioDevice> CreateAudioDevice() override;
  std::shared_ptr<LegacyAudioFile> CreateAudioFile() override;
};

}  // namespace parlino::platform::linux_impl
