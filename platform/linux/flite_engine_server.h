#pragma once
// The legacy engines on Linux: Flite's built-in voices, one engine mode each. Speed is in words
// per minute, pitch in hertz and volume in the two-channel form, each within the voice's own
// limits. An engine instance synthesises on Flite's worker thread ahead of playback and plays
// through an SDL output of its own, in stereo so that each channel's volume is heard as set.
#include <memory>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/legacy_engines.h"
#include "platform/linux/sdl_audio_device.h"

namespace parlino::platform::linux_impl {

class SynthesisThread;

class FliteEngineServer final : public LegacyEngineServer {
 public:
  // Notifications are posted through `pump` to the user-interface thread. Texts arrive in
  // `codePage`, the system's ANSI code page.
  FliteEngineServer(MessagePump& pump, const CodePage& codePage);

  // Throws PlatformError when no Flite voice could be loaded.
  std::unique_ptr<LegacyEngineEnum> CreateEnumerator() override;
  std::shared_ptr<LegacyAudioDevice> CreateAudioDevice() override;
  // Flite voices play to the audio device only: throws PlatformError.
  std::shared_ptr<LegacyAudioFile> CreateAudioFile() override;
  void SetNoticeHandler(std::function<void(TextView)> handler) override;

 private:
  MessagePump& pump_;
  const CodePage& codePage_;
  PostedSilentNotice notices_{pump_};
  // Kept from the first enumerator on, so that the engine instances that every voice selection
  // replaces do not stop and start the thread each time.
  std::shared_ptr<SynthesisThread> synthesis_;
};

}  // namespace parlino::platform::linux_impl
