#include "speech/sapi4/tm_speech.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "platform/platform_error.h"

namespace parlino::speech {
namespace {

using platform::LegacyEngine;

const char* const kNotInitialized = "Speech Engine not initialized";
const char* const kNotFound = "Specified Speech Engine not found";
const char* const kNotSelected = "Speech Engine not selected";
const char* const kCantOpenFile = "Can't open file";

// Calls whose failure the component ignores: the engine keeps whatever it had.
template <typename Call>
void Unchecked(Call&& call) {
  try {
    call();
  } catch (const PlatformError&) {
    // ignored on purpose: the engine keeps the value it had
  }
}

template <typename T>
T UncheckedGet(LegacyEngine& engine, T (LegacyEngine::*get)()) {
  T value = 0;
  Unchecked([&] { value = (engine.*get)(); });
  return value;
}

// Asks for both extremes and reads back where the engine clamped them, then restores the value.
template <typename T>
void Probe(LegacyEngine& engine, T (LegacyEngine::*get)(), void (LegacyEngine::*set)(T), T& max,
           T& min) {
  const T saved = UncheckedGet(engine, get);
  Unchecked([&] { (engine.*set)(std::numeric_limits<T>::max()); });
  max = UncheckedGet(engine, get);
  Unchecked([&] { (engine.*set)(0); });
  min = UncheckedGet(engine, get);
  Unchecked([&] { (engine.*set)(saved); });
}

std::string Tag(const char* name, std::uint32_t value) {
  return std::string("\\") + name + "=" + std::to_string(value) + "\\";
}

parlino::Text GuidText(const platform::Guid& guid) {
  char text[39];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", guid.data1,
                guid.data2, guid.data3, guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3],
                guid.data4[4], guid.data4[5], guid.data4[6], guid.data4[7]);
  return parlino::Text(text, text + 38);
}

}  // namespace

// The sinks point back to their component without owning it; the component detaches them when
// it replaces them or dies, so an engine that holds on to a sink can no longer reach it.
class TTSNotifySink final : public platform::LegacyNotifySink {
 public:
  explicit TTSNotifySink(TMSpeech& owner) : owner_(&owner) {}
  void Detach() { owner_ = nullptr; }

  void AttribChanged(std::uint32_t) override {}
  void AudioStart(std::uint64_t) override {
    if (owner_ != nullptr) owner_->AudioStarted();
  }
  void AudioStop(std::uint64_t) override {
    if (owner_ != nullptr) owner_->AudioStopped();
  }
  void Visual(std::uint64_t, char, char, std::uint32_t hints,
              const platform::LegacyMouth& mouth) override {
    if (owner_ == nullptr) return;
    if (auto handler = owner_->OnVisual) handler(*owner_, hints, mouth);
  }

 private:
  TMSpeech* owner_;
};

class TTSBufNotifySink final : public platform::LegacyBufferNotifySink {
 public:
  explicit TTSBufNotifySink(TMSpeech& owner) : owner_(&owner) {}
  void Detach() { owner_ = nullptr; }

  void TextDataDone(std::uint64_t, std::uint32_t) override {}
  void TextDataStarted(std::uint64_t) override {}
  void BookMark(std::uint64_t, std::uint32_t) override {}
  void WordPosition(std::uint64_t, std::uint32_t byteOffset) override {
    if (owner_ != nullptr) owner_->wordPosition_ = byteOffset;
  }

 private:
  TMSpeech* owner_;
};

TMSpeech::TMSpeech(platform::LegacyEngineServer& server, const platform::CodePage& codePage)
    : server_(server), codePage_(codePage) {
  initialized_ = true;
  selected_ = false;
  try {
    enumerator_ = server_.CreateEnumerator();
    enumerator_->Reset();
    while (auto mode = enumerator_->Next()) engines_.push_back(codePage_.ToWide(mode->modeName));
  } catch (const PlatformError&) {
    initialized_ = false;  // the names listed so far stay
  }
}

TMSpeech::~TMSpeech() {
  if (notifySink_) notifySink_->Detach();
  if (bufferSink_) bufferSink_->Detach();
}

void TMSpeech::SelectEngine(TextView Name) {
  if (!initialized_) throw EMSpeechException(kNotInitialized);
  const auto found = std::find(engines_.begin(), engines_.end(), Name);
  if (found == engines_.end()) throw EMSpeechException(kNotFound);
  selected_ = true;
  try {
    RunSelection(static_cast<std::uint32_t>(found - engines_.begin()));
  } catch (const PlatformError&) {
    selected_ = false;  // a mode the engine refuses leaves none selected; Speak then says so
  }
}

void TMSpeech::RunSelection(std::uint32_t index) {
  std::shared_ptr<platform::LegacyAudioOutput> output;
  if (Output == TSpeechOutput::soGeneral) {
    output = audioDevice_ = server_.CreateAudioDevice();
  } else {
    output = audioFile_ = server_.CreateAudioFile();
  }

  // The old instance must not report the end of text it was still speaking.
  if (notifyKey_) {
    central_->UnRegister(*notifyKey_);
    notifyKey_.reset();
  }
  ReplaceSinks();

  enumerator_->Reset();
  enumerator_->Skip(index);
  auto mode = enumerator_->Next();
  if (!mode) throw PlatformError("The speech engine mode is no longer installed");
  modeInfo_ = std::move(*mode);

  central_.reset();
  central_ = enumerator_->Select(modeInfo_.modeId, std::move(output));
  notifyKey_ = central_->Register(notifySink_);

  CopyModeInfo();
  ProbeLimits(*central_);
}

void TMSpeech::ReplaceSinks() {
  if (notifySink_) notifySink_->Detach();
  if (bufferSink_) bufferSink_->Detach();
  bufferSink_ = std::make_shared<TTSBufNotifySink>(*this);
  notifySink_ = std::make_shared<TTSNotifySink>(*this);
}

void TMSpeech::CopyModeInfo() {
  modeName_ = codePage_.ToWide(modeInfo_.modeName);
  dialect_ = codePage_.ToWide(modeInfo_.dialect);
  mfgName_ = codePage_.ToWide(modeInfo_.mfgName);
  productName_ = codePage_.ToWide(modeInfo_.productName);
  modeId_ = GuidText(modeInfo_.modeId);
  engineId_ = GuidText(modeInfo_.engineId);
  speaker_ = codePage_.ToWide(modeInfo_.speaker);
  style_ = codePage_.ToWide(modeInfo_.style);
  switch (modeInfo_.gender) {
    case 0:
      gender_ = u"NEUTRAL";
      break;
    case 1:
      gender_ = u"FEMALE";
      break;
    case 2:
      gender_ = u"MALE";
      break;
    default:
      break;  // an unknown value keeps the text of the engine selected before
  }
  age_ = modeInfo_.age;
  features_ = modeInfo_.features;
  interfaces_ = modeInfo_.interfaces;
}

void TMSpeech::ProbeLimits(LegacyEngine& engine) {
  Probe(engine, &LegacyEngine::PitchGet, &LegacyEngine::PitchSet, maxPitch_, minPitch_);
  Probe(engine, &LegacyEngine::RealTimeGet, &LegacyEngine::RealTimeSet, maxRealTime_, minRealTime_);
  Probe(engine, &LegacyEngine::SpeedGet, &LegacyEngine::SpeedSet, maxSpeed_, minSpeed_);
}

void TMSpeech::Speak() {
  if (!initialized_) throw EMSpeechException(kNotInitialized);
  if (!selected_) throw EMSpeechException(kNotSelected);
  paused_ = false;
  try {
    if (Output == TSpeechOutput::soFile) {
      try {
        if (!audioFile_) throw PlatformError("No wave file output was created");
        audioFile_->Set(Filename, 1);
      } catch (const PlatformError&) {
        throw EMSpeechException(kCantOpenFile);
      }
    }
    // The lines as one text, up to and including its first 0 byte.
    std::string data;
    for (const std::string& line : Text) data += line + "\r\n";
    data.push_back('\0');
    data.resize(data.find('\0') + 1);
    central_->TextData(data, bufferSink_);
  } catch (const PlatformError&) {
    // A text the engine refuses is abandoned silently: the caller hears no speech, no error.
  } catch (const EMSpeechException&) {
    // The same for a wave file that cannot be opened.
  }
}

LegacyEngine& TMSpeech::Instance() {
  if (!initialized_) throw EMSpeechException(kNotInitialized);
  if (!central_) throw EMSpeechException(kNotSelected);
  return *central_;
}

void TMSpeech::Pause() {
  Instance().AudioPause();
  paused_ = true;
}

void TMSpeech::Resume() {
  Instance().AudioResume();
  paused_ = false;
}

void TMSpeech::Stop() {
  LegacyEngine& engine = Instance();
  paused_ = false;
  engine.AudioReset();
}

std::uint16_t TMSpeech::GetPitch() {
  return UncheckedGet(Instance(), &LegacyEngine::PitchGet);
}

void TMSpeech::SetPitch(std::uint16_t pitch) {
  LegacyEngine& engine = Instance();
  Unchecked([&] { engine.Inject(Tag("Pit", pitch)); });
  Unchecked([&] { engine.PitchSet(pitch); });
}

std::uint32_t TMSpeech::GetSpeed() {
  return UncheckedGet(Instance(), &LegacyEngine::SpeedGet);
}

void TMSpeech::SetSpeed(std::uint32_t speed) {
  LegacyEngine& engine = Instance();
  Unchecked([&] { engine.Inject(Tag("Spd", speed)); });
  Unchecked([&] { engine.SpeedSet(speed); });
}

std::int32_t TMSpeech::GetVolume() {
  const std::uint32_t volume = UncheckedGet(Instance(), &LegacyEngine::VolumeGet);
  return static_cast<std::int32_t>((volume & 0xFFFFu) * 100u / 65535u);
}

void TMSpeech::SetVolume(std::int32_t percent) {
  LegacyEngine& engine = Instance();
  // A percentage beyond the scale would wrap around in the 16-bit channel level.
  const auto p = static_cast<std::uint32_t>(std::clamp(percent, MinVolume(), MaxVolume()));
  const std::uint32_t w = (p * 65535u / 100u) & 0xFFFFu;
  const std::uint32_t volume = w * 65536u + w;
  Unchecked([&] { engine.Inject(Tag("Vol", volume)); });
  engine.VolumeSet(volume);
}

void TMSpeech::AudioStarted() {
  if (auto handler = OnStart) handler(*this);
}

void TMSpeech::AudioStopped() {
  if (Output == TSpeechOutput::soFile && audioFile_) Unchecked([&] { audioFile_->Flush(); });
  if (auto handler = OnStop) handler(*this);
}

}  // namespace parlino::speech
