#pragma once
// The component for the legacy speech engines: lists their modes, selects one by name into a
// fresh engine instance, speaks ANSI text asynchronously and reports when the audio starts and
// stops.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/code_page.h"
#include "platform/legacy_engines.h"
#include "platform/text.h"

namespace parlino::speech {

// Raised by the component itself (engine failures arrive as PlatformError).
class EMSpeechException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TSpeechOutput { soFile, soGeneral };

class TTSNotifySink;
class TTSBufNotifySink;

class TMSpeech {
 public:
  using WideString = parlino::Text;
  using TNotifyEvent = std::function<void(TMSpeech& sender)>;
  using TMSVisualEvent =
      std::function<void(TMSpeech& sender, std::uint32_t hints, const platform::LegacyMouth&)>;

  // Lists the engine modes into Engines. A missing or failing enumerator leaves Initialized
  // false and raises nothing.
  TMSpeech(platform::LegacyEngineServer& server, const platform::CodePage& codePage);
  ~TMSpeech();
  TMSpeech(const TMSpeech&) = delete;
  TMSpeech& operator=(const TMSpeech&) = delete;

  // Where the audio goes; takes effect at the next SelectEngine.
  TSpeechOutput Output = TSpeechOutput::soGeneral;
  WideString Filename;  // the wave file for soFile
  // The text Speak sends: ANSI lines, in practice one line made by ToAnsiText.
  std::vector<std::string> Text;
  TNotifyEvent OnStart;  // the engine's audio started
  TNotifyEvent OnStop;   // the engine's audio stopped
  TMSVisualEvent OnVisual;

  const std::vector<WideString>& Engines() const { return engines_; }
  bool Initialized() const { return initialized_; }
  bool Selected() const { return selected_; }
  bool Paused() const { return paused_; }

  // Raises "Speech Engine not initialized" or "Specified Speech Engine not found"; any engine
  // failure after that only leaves Selected false. The first mode of that name wins.
  void SelectEngine(TextView Name);
  // Raises "Speech Engine not initialized" or "Speech Engine not selected"; engine failures
  // are swallowed. Returns once the engine has accepted the text.
  void Speak();
  // These need an engine instance and raise engine failures.
  void Pause();
  void Resume();
  void Stop();

  // Engine units; the tags go into the text stream first so that queued text follows them.
  std::uint16_t GetPitch();
  void SetPitch(std::uint16_t pitch);
  std::uint32_t GetSpeed();
  void SetSpeed(std::uint32_t speed);
  // Percent, the same level on both channels.
  std::int32_t GetVolume();
  void SetVolume(std::int32_t percent);

  // The mode selected last.
  const WideString& ModeName() const { return modeName_; }
  const WideString& Dialect() const { return dialect_; }
  const WideString& MfgName() const { return mfgName_; }
  const WideString& ProductName() const { return productName_; }
  const WideString& ModeID() const { return modeId_; }
  const WideString& EngineID() const { return engineId_; }
  const WideString& Speaker() const { return speaker_; }
  const WideString& Style() const { return style_; }
  const WideString& Gender() const { return gender_; }
  std::uint32_t Age() const { return age_; }
  std::uint32_t Features() const { return features_; }
  std::uint32_t Interfaces() const { return interfaces_; }

  // Limits of the engine selected last, as it clamped the extreme requests.
  std::uint16_t MaxPitch() const { return maxPitch_; }
  std::uint16_t MinPitch() const { return minPitch_; }
  std::uint32_t MaxRealTime() const { return maxRealTime_; }
  std::uint32_t MinRealTime() const { return minRealTime_; }
  std::uint32_t MaxSpeed() const { return maxSpeed_; }
  std::uint32_t MinSpeed() const { return minSpeed_; }
  std::int32_t MaxVolume() const { return 100; }
  std::int32_t MinVolume() const { return 0; }

  // Byte offset in Text of the word being spoken.
  std::uint32_t WordPosition() const { return wordPosition_; }

 private:
  friend class TTSNotifySink;
  friend class TTSBufNotifySink;

  platform::LegacyEngine& Instance();
  void RunSelection(std::uint32_t index);
  void CopyModeInfo();
  void ProbeLimits(platform::LegacyEngine& engine);
  void ReplaceSinks();
  void AudioStarted();
  void AudioStopped();

  platform::LegacyEngineServer& server_;
  const platform::CodePage& codePage_;

  std::vector<WideString> engines_;
  bool initialized_ = false;
  bool selected_ = false;
  bool paused_ = false;
  std::shared_ptr<platform::LegacyAudioFile> audioFile_;
  std::shared_ptr<platform::LegacyAudioDevice> audioDevice_;
  WideString modeName_, dialect_, mfgName_, productName_, modeId_, engineId_;
  WideString speaker_, style_, gender_;
  std::uint32_t age_ = 0, features_ = 0, interfaces_ = 0;
  std::uint16_t maxPitch_ = 0, minPitch_ = 0;
  std::uint32_t maxRealTime_ = 0, minRealTime_ = 0;
  std::uint32_t maxSpeed_ = 0, minSpeed_ = 0;
  std::unique_ptr<platform::LegacyEngineEnum> enumerator_;
  std::unique_ptr<platform::LegacyEngine> central_;  // released before the enumerator
  std::optional<std::uint32_t> notifyKey_;
  std::shared_ptr<TTSNotifySink> notifySink_;
  std::shared_ptr<TTSBufNotifySink> bufferSink_;
  platform::LegacyEngineMode modeInfo_;
  std::uint32_t wordPosition_ = 0;
};

}  // namespace parlino::speech
