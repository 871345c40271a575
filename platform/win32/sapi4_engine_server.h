#pragma once
// The legacy engines through SAPI 4's ANSI COM interfaces: the mode enumerator, engine instances
// with their attributes, the multimedia and wave file audio destinations, and the program's
// notification sinks. Engines may notify from threads of their own; every notification reaches
// the program's sink through the message pump, on the user-interface thread. Notifications of a
// sink that was unregistered, or of a released engine, are dropped, also those already queued.
//
// SAPI 4 engines are in-process servers; a 64-bit program only finds 64-bit ones.
#include "platform/clock.h"
#include "platform/legacy_engines.h"
#include "platform/win32/com.h"

namespace parlino::platform::win32_impl {

class Sapi4EngineServer final : public LegacyEngineServer {
 public:
  // Made on the user-interface thread, which it joins to a single-threaded COM apartment.
  explicit Sapi4EngineServer(MessagePump& pump);

  std::unique_ptr<LegacyEngineEnum> CreateEnumerator() override;
  std::shared_ptr<LegacyAudioDevice> CreateAudioDevice() override;
  std::shared_ptr<LegacyAudioFile> CreateAudioFile() override;

 private:
  ComApartment apartment_;
  MessagePump& pump_;
};

}  // namespace parlino::platform::win32_impl
