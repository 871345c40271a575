#pragma once
// One SDL audio output playing mono 16-bit samples. When the machine has no audio device the
// output goes to SDL's silent "dummy" driver, which keeps real-time pace (said once on stderr).
#include <SDL2/SDL_audio.h>

#include <cstdint>
#include <functional>
#include <span>

namespace parlino::platform::linux_impl {

class SdlAudioDevice {
 public:
  using Source = std::function<void(std::span<std::int16_t> out)>;

  // Starts playing at once; `source` runs on the device's own thread and fills every buffer.
  // Throws PlatformError when no output can be opened.
  SdlAudioDevice(int sample_rate, Source source);
  // Stops the device; `source` is not called any more once this returns.
  ~SdlAudioDevice();
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

 private:
  static void Callback(void* self, Uint8* stream, int length);

  Source source_;
  SDL_AudioDeviceID id_ = 0;
};

}  // namespace parlino::platform::linux_impl
