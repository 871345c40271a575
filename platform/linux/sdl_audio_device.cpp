#include "platform/linux/sdl_audio_device.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <mutex>
#include <string>
#include <utility>

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

// Frames per device buffer: about 12 ms at espeak-ng's rate, the most a pause lags behind;
// closing a device waits for two of them.
constexpr Uint16 kBufferSamples = 256;

// SDL's audio driver is one per process.
struct AudioDriver {
  std::mutex mutex;
  bool initialized = false;
  bool silent = false;  // playing into the dummy driver
  int openDevices = 0;
};

AudioDriver& Driver() {
  static AudioDriver driver;
  return driver;
}

// Returns what the user should be told.
std::string SwitchToDummyLocked(AudioDriver& driver, const std::string& reason) {
  if (driver.initialized) SDL_AudioQuit();
  driver.initialized = SDL_AudioInit("dummy") == 0;
  if (!driver.initialized) {
    throw PlatformError(std::string("Cannot start SDL's dummy audio driver: ") + SDL_GetError());
  }
  driver.silent = true;
  std::fprintf(stderr, "Parlino: no audio device is available (%s); speech plays silently.\n",
               reason.c_str());
  return "No audio device is available (" + reason +
         "), so Parlino reads silently. Connect or switch on a sound device, then start Parlino "
         "again to hear it.";
}

}  // namespace

SdlAudioDevice::SdlAudioDevice(int sampleRate, int channels, Source source,
                               const SilentNotice& onSilent)
    : source_(std::move(source)) {
  AudioDriver& driver = Driver();
  std::lock_guard lock(driver.mutex);
  std::string notice;
  if (!driver.initialized) {
    if (SDL_AudioInit(nullptr) == 0) {
      driver.initialized = true;
    } else {
      notice = SwitchToDummyLocked(driver, SDL_GetError());
    }
  }
  SDL_AudioSpec wanted{};
  wanted.freq = sampleRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = static_cast<Uint8>(channels);
  wanted.samples = kBufferSamples;
  wanted.callback = &SdlAudioDevice::Callback;
  wanted.userdata = this;
  // SDL converts to whatever the device plays, so the callback always gets this format.
  id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (id_ == 0 && !driver.silent && driver.openDevices == 0) {
    notice = SwitchToDummyLocked(driver, SDL_GetError());
    id_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  }
  if (!notice.empty() && onSilent) onSilent(notice);
  if (id_ == 0) throw PlatformError(std::string("Cannot open the audio output: ") + SDL_GetError());
  ++driver.openDevices;
  SDL_PauseAudioDevice(id_, 0);
}

SdlAudioDevice::~SdlAudioDevice() {
  AudioDriver& driver = Driver();
  std::lock_guard lock(driver.mutex);
  SDL_CloseAudioDevice(id_);
  --driver.openDevices;
}

void SdlAudioDevice::Callback(void* self, Uint8* stream, int length) {
  auto* samples = reinterpret_cast<std::int16_t*>(stream);
  static_cast<SdlAudioDevice*>(self)->source_(
      std::span<std::int16_t>(samples, static_cast<std::size_t>(length) / sizeof(std::int16_t)));
}

SdlAudioDevice::SilentNotice PostedSilentNotice::ForDevice() const {
  return [&pump = pump_, handler = handler_](const std::string& text) {
    pump.Post([handler, notice = FromUtf8(text)] {
      if (*handler) (*handler)(notice);
    });
  };
}

}  // namespace parlino::platform::linux_impl
