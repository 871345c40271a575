#pragma once
// The legacy (generation 4) text-to-speech engines: an enumerator of engine modes, engine
// instances made from a mode and an audio output, and the notification sinks that the program
// implements. Every string that crosses this interface is text in the system's ANSI code page.
//
// Failing operations throw PlatformError carrying the engine's status. Sinks are called on the
// user-interface thread, one call at a time, while it processes its messages.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace parlino::platform {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};

  friend bool operator==(const Guid&, const Guid&) = default;
};

// The description of one engine mode (one voice). The strings are ANSI bytes as the engine
// reports them, at most 262 bytes each (64 for the dialect).
struct LegacyEngineMode {
  Guid engineId;
  std::string mfgName;
  std::string productName;
  Guid modeId;
  std::string modeName;
  std::string dialect;
  std::string speaker;
  std::string style;
  std::uint16_t gender = 0;  // 0 neutral, 1 female, 2 male
  std::uint16_t age = 0;
  std::uint32_t features = 0;
  std::uint32_t interfaces = 0;
};

// The mouth shape that comes with a visual notification.
struct LegacyMouth {
  std::uint8_t height = 0;
  std::uint8_t width = 0;
  std::uint8_t upturn = 0;
  std::uint8_t jawOpen = 0;
  std::uint8_t teethUpperVisible = 0;
  std::uint8_t teethLowerVisible = 0;
  std::uint8_t tonguePosition = 0;
  std::uint8_t lipTension = 0;
};

// State notifications of one engine instance.
class LegacyNotifySink {
 public:
  virtual ~LegacyNotifySink() = default;
  virtual void AttribChanged(std::uint32_t attribute) = 0;
  virtual void AudioStart(std::uint64_t timeStamp) = 0;
  virtual void AudioStop(std::uint64_t timeStamp) = 0;
  virtual void Visual(std::uint64_t timeStamp, char ipaPhoneme, char enginePhoneme,
                      std::uint32_t hints, const LegacyMouth& mouth) = 0;
};

// Notifications about one block of text given to TextData.
class LegacyBufferNotifySink {
 public:
  virtual ~LegacyBufferNotifySink() = default;
  virtual void TextDataDone(std::uint64_t timeStamp, std::uint32_t flags) = 0;
  virtual void TextDataStarted(std::uint64_t timeStamp) = 0;
  virtual void BookMark(std::uint64_t timeStamp, std::uint32_t mark) = 0;
  virtual void WordPosition(std::uint64_t timeStamp, std::uint32_t byteOffset) = 0;
};

// Where an engine instance sends its audio.
class LegacyAudioOutput {
 public:
  virtual ~LegacyAudioOutput() = default;
};

// The multimedia audio device.
class LegacyAudioDevice : public LegacyAudioOutput {};

// A wave file.
class LegacyAudioFile : public LegacyAudioOutput {
 public:
  virtual void Set(TextView fileName, std::uint32_t flags) = 0;
  virtual void Flush() = 0;
};

// One engine instance with its attributes. Destroying it releases the instance: its audio and
// its notifications end.
class LegacyEngine {
 public:
  virtual ~LegacyEngine() = default;

  // Queues plain text (no control tags) for speaking and returns at once; the engine keeps
  // `sink` until it has finished with the text. `data` is the text with its terminating 0 byte.
  virtual void TextData(std::string_view data, std::shared_ptr<LegacyBufferNotifySink> sink) = 0;
  // Inserts a control tag (such as "\Spd=200\") into the text stream at the current position.
  virtual void Inject(const std::string& tag) = 0;
  virtual void AudioPause() = 0;
  virtual void AudioResume() = 0;
  virtual void AudioReset() = 0;  // discards everything queued or playing
  // Returns the key for UnRegister.
  virtual std::uint32_t Register(std::shared_ptr<LegacyNotifySink> sink) = 0;
  virtual void UnRegister(std::uint32_t key) = 0;

  // Attributes in the engine's own units; Set clamps a request to the engine's limits. The
  // volume holds the left channel in its low 16 bits and the right channel in its high 16 bits.
  virtual std::uint16_t PitchGet() = 0;
  virtual void PitchSet(std::uint16_t pitch) = 0;
  virtual std::uint32_t SpeedGet() = 0;
  virtual void SpeedSet(std::uint32_t speed) = 0;
  virtual std::uint32_t VolumeGet() = 0;
  virtual void VolumeSet(std::uint32_t volume) = 0;
  virtual std::uint32_t RealTimeGet() = 0;
  virtual void RealTimeSet(std::uint32_t realTime) = 0;
};

// Lists the installed engine modes in a fixed order and makes engine instances.
class LegacyEngineEnum {
 public:
  virtual ~LegacyEngineEnum() = default;
  virtual void Reset() = 0;
  // The next mode, or nothing after the last one.
  virtual std::optional<LegacyEngineMode> Next() = 0;
  virtual void Skip(std::uint32_t count) = 0;
  virtual std::unique_ptr<LegacyEngine> Select(const Guid& modeId,
                                               std::shared_ptr<LegacyAudioOutput> output) = 0;
};

class LegacyEngineServer {
 public:
  virtual ~LegacyEngineServer() = default;
  // Throw PlatformError when the legacy engines are not installed.
  virtual std::unique_ptr<LegacyEngineEnum> CreateEnumerator() = 0;
  virtual std::shared_ptr<LegacyAudioDevice> CreateAudioDevice() = 0;
  virtual std::shared_ptr<LegacyAudioFile> CreateAudioFile() = 0;
  // Notices for the user that come up while engines speak (no audio device: speech plays
  // silently). An empty handler stops them.
  virtual void SetNoticeHandler(std::function<void(TextView)> handler) { (void)handler; }
};

}  // namespace parlino::platform
