#pragma once
// One SDL audio output playing 16-bit samples, mono or interleaved stereo. When the machine has no
// audio device the output goes to SDL's silent "dummy" driver, which keeps real-time pace (said
// once on stderr and to the first device's `onSilent`).
#include <SDL2/SDL_audio.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/clock.h"
#include "platform/text.h"

namespace parlino::platform::linux_impl {

class SdlAudioDevice {
 public:
  using Source = std::function<void(std::span<std::int16_t> out)>;
  // Told, once per process, that there is no audio device and why; output then plays silently.
  using SilentNotice = std::function<void(const std::string& notice)>;

  // Starts playing at once; `source` runs on the device's own thread and fills every buffer
  // with `channels` (1 or 2) interleaved samples per frame. Throws PlatformError when no
  // output can be opened.
  SdlAudioDevice(int sampleRate, int channels, Source source, const SilentNotice& onSilent = {});
  // Stops the device; `source` is not called any more once this returns.
  ~SdlAudioDevice();
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

 private:
  static void Callback(void* self, Uint8* stream, int length);

  Source source_;
  SDL_AudioDeviceID id_ = 0;
};

// The user's handler of the no-audio notice, for a server whose outputs may be the first to find
// that there is no device. The notice reaches the handler from the event loop, so that telling
// the user never runs inside a reading.
class PostedSilentNotice {
 public:
  explicit PostedSilentNotice(MessagePump& pump) : pump_(pump) {}
  // An empty handler drops the notices still on their way.
  void SetHandler(std::function<void(TextView)> handler) { *handler_ = std::move(handler); }
  // What to give each SdlAudioDevice the server opens.
  SdlAudioDevice::SilentNotice ForDevice() const;

 private:
  MessagePump& pump_;
  // Shared with the notices already on their way, which look the handler up when they arrive.
  std::shared_ptr<std::function<void(TextView)>> handler_ =
      std::make_shared<std::function<void(TextView)>>();
};

}  // namespace parlino::platform::linux_impl
