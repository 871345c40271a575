#include "platform/linux/flite_library.h"

extern "C" {
#include <flite/cst_cg.h>
#include <flite/flite.h>

cst_voice* register_cmu_us_kal(const char* voxdir);
cst_voice* register_cmu_us_kal16(const char* voxdir);
cst_voice* register_cmu_us_awb(const char* voxdir);
cst_voice* register_cmu_us_rms(const char* voxdir);
cst_voice* register_cmu_us_slt(const char* voxdir);
}

#include <algorithm>
#include <cmath>
#include <optional>
#include <span>
#include <string>

#include "platform/platform_error.h"

namespace parlino::platform::linux_impl {
namespace {

struct BuiltInVoice {
  const char* name;
  cst_voice* (*registerVoice)(const char*);
  const char* dialect;
  std::uint16_t gender;
  // Measured: the words per minute of three prose passages read at the voice's own pace.
  std::uint32_t normalSpeed;
};

const BuiltInVoice kBuiltInVoices[] = {
    {"kal", register_cmu_us_kal, "American English", 2, 200},
    {"kal16", register_cmu_us_kal16, "American English", 2, 203},
    {"awb", register_cmu_us_awb, "Scottish English", 2, 211},
    {"rms", register_cmu_us_rms, "American English", 2, 190},
    {"slt", register_cmu_us_slt, "American English", 1, 217},
};

// Durations from 2.5 times as long to 0.4 times as long as the voice's own stay intelligible.
constexpr double kSlowest = 0.4;
constexpr double kFastest = 2.5;
// A target pitch from an octave below to an octave above the voice's own, but not below the
// lowest pitch Flite's vocoders make.
constexpr double kLowest = 0.5;
constexpr double kHighest = 2.0;
constexpr int kLowestHertz = 50;

const char* const kStretch = "duration_stretch";
const char* const kF0Target = "int_f0_target_mean";

// The synthesis in progress; set while the library's lock is held.
struct Synthesis {
  const FliteLibrary::AudioHandler* onAudio;
  int sampleRate;
  bool stopped;
  std::string error;
};
Synthesis* currentSynthesis = nullptr;

int OnAudio(const cst_wave* wave, int start, int size, int, cst_audio_streaming_info*) {
  Synthesis* synthesis = currentSynthesis;
  if (synthesis == nullptr || synthesis->stopped) return CST_AUDIO_STREAM_STOP;
  if (wave->sample_rate != synthesis->sampleRate || wave->num_channels != 1) {
    synthesis->error = "Flite made audio at " + std::to_string(wave->sample_rate) + " Hz in " +
                       std::to_string(wave->num_channels) + " channels, not mono at " +
                       std::to_string(synthesis->sampleRate) + " Hz";
    synthesis->stopped = true;
    return CST_AUDIO_STREAM_STOP;
  }
  const std::span<const std::int16_t> samples(wave->samples + start,
                                              static_cast<std::size_t>(std::max(size, 0)));
  if (!(*synthesis->onAudio)(samples, {})) {
    synthesis->stopped = true;
    return CST_AUDIO_STREAM_STOP;
  }
  return CST_AUDIO_STREAM_CONT;
}

// Called before each utterance (a sentence or so) is synthesised: a stopped synthesis goes no
// further.
cst_utterance* OnUtterance(cst_utterance* utterance) {
  const Synthesis* synthesis = currentSynthesis;
  if (synthesis != nullptr && !synthesis->stopped) return utterance;
  delete_utterance(utterance);
  return nullptr;
}

const cst_cg_db* ClustergenModel(const cst_voice* voice) {
  const cst_val* model = feat_val(voice->features, "cg_db");
  return model != nullptr ? val_cg_db(model) : nullptr;
}

std::uint16_t Hertz(double value) {
  return static_cast<std::uint16_t>(std::clamp(std::lround(value), 1L, 65535L));
}

std::uint32_t WordsPerMinute(double value) {
  return static_cast<std::uint32_t>(std::max(std::lround(value), 1L));
}

// The entry for a registered voice, or nothing when Flite does not say how it sounds.
std::optional<FliteLibrary::Entry> Describe(const BuiltInVoice& builtIn, cst_voice* voice) {
  FliteLibrary::Entry entry;
  entry.flite = voice;
  FliteVoice& info = entry.voice;
  info.name = builtIn.name;
  info.dialect = builtIn.dialect;
  info.gender = builtIn.gender;

  const cst_cg_db* model = ClustergenModel(voice);
  info.sampleRate = flite_get_param_int(voice->features, "sample_rate", 0);
  if (info.sampleRate <= 0 && model != nullptr) info.sampleRate = model->sample_rate;
  entry.setsF0Target = feat_present(voice->features, kF0Target) != 0;
  double pitch = flite_get_param_float(voice->features, kF0Target, 0.0f);
  if (!entry.setsF0Target && model != nullptr) pitch = model->f0_mean;
  if (info.sampleRate <= 0 || pitch <= 0) return std::nullopt;

  entry.stretch = flite_get_param_float(voice->features, kStretch, 1.0f);
  info.normalSpeed = builtIn.normalSpeed;
  info.minSpeed = WordsPerMinute(builtIn.normalSpeed * kSlowest);
  info.maxSpeed = WordsPerMinute(builtIn.normalSpeed * kFastest);

  info.normalPitch = Hertz(pitch);
  // A model that predicts its own intonation contour ignores a target pitch.
  if (model != nullptr && model->spamf0 != 0) {
    info.minPitch = info.maxPitch = info.normalPitch;
  } else {
    info.minPitch = Hertz(std::max(pitch * kLowest, double(kLowestHertz)));
    info.maxPitch = Hertz(pitch * kHighest);
  }
  return entry;
}

}  // namespace

FliteLibrary& FliteLibrary::Instance() {
  // Never destroyed: the synthesis thread may still use it while the process ends.
  static FliteLibrary* const library = new FliteLibrary();
  return *library;
}

FliteLibrary::FliteLibrary() {
  flite_init();
  for (const BuiltInVoice& builtIn : kBuiltInVoices) {
    cst_voice* voice = builtIn.registerVoice(nullptr);
    if (voice == nullptr) continue;
    std::optional<Entry> entry = Describe(builtIn, voice);
    if (!entry) continue;
    // Audio is handed over in blocks as it is made, and each utterance asks whether to go on;
    // the handlers find their synthesis themselves.
    cst_audio_streaming_info* streaming = new_audio_streaming_info();
    streaming->asc = OnAudio;
    feat_set(voice->features, "streaming_info", audio_streaming_info_val(streaming));
    feat_set(voice->features, "utt_user_callback", uttfunc_val(OnUtterance));
    voices_.push_back(entry->voice);
    entries_.push_back(std::move(*entry));
  }
}

const FliteVoice* FliteLibrary::Find(std::string_view name) const {
  const auto found = std::find_if(voices_.begin(), voices_.end(),
                                  [&](const FliteVoice& voice) { return voice.name == name; });
  return found != voices_.end() ? &*found : nullptr;
}

void FliteLibrary::Configure(const Entry& entry, const SpeechPiece& piece) {
  const FliteVoice& info = entry.voice;
  cst_features* features = entry.flite->features;
  const auto speed =
      std::clamp(static_cast<std::uint32_t>(std::max(piece.settings.wordsPerMinute, 0)),
                 info.minSpeed, info.maxSpeed);
  flite_feat_set_float(
      features, kStretch,
      static_cast<float>(double(entry.stretch) * double(info.normalSpeed) / double(speed)));

  const auto pitch =
      static_cast<std::uint16_t>(std::clamp(piece.pitch, int{info.minPitch}, int{info.maxPitch}));
  if (pitch != info.normalPitch) {
    flite_feat_set_float(features, kF0Target, pitch);
  } else if (entry.setsF0Target) {
    flite_feat_set_float(features, kF0Target, info.normalPitch);
  } else {
    // The model's own mean, unrounded.
    flite_feat_remove(features, kF0Target);
  }
}

void FliteLibrary::Synthesize(const SpeechPiece& piece, const AudioHandler& onAudio) {
  std::lock_guard lock(mutex_);
  const auto entry = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& candidate) {
    return candidate.voice.name == piece.settings.voice;
  });
  if (entry == entries_.end()) throw PlatformError("Flite has no voice " + piece.settings.voice);
  Configure(*entry, piece);

  const cst_features* features = entry->flite->features;
  // Read as a stream of tokens, the text is split into utterances at the ends of sentences and
  // they are synthesised one after the other: the first is heard before the next is made.
  cst_tokenstream* tokens =
      ts_open_string(piece.utf8.c_str(), get_param_string(features, "text_whitespace", nullptr),
                     get_param_string(features, "text_singlecharsymbols", nullptr),
                     get_param_string(features, "text_prepunctuation", nullptr),
                     get_param_string(features, "text_postpunctuation", nullptr));
  if (tokens == nullptr) throw PlatformError("Flite cannot read the text");
  Synthesis synthesis{&onAudio, entry->voice.sampleRate, false, {}};
  currentSynthesis = &synthesis;
  flite_ts_to_speech(tokens, entry->flite, "none");  // closes the token stream
  currentSynthesis = nullptr;
  if (!synthesis.error.empty()) throw PlatformError(synthesis.error);
}

}  // namespace parlino::platform::linux_impl
