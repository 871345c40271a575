#pragma once
// Reading and measuring recorded speech: SDL's disk output, espeak-ng's and Flite's own WAV
// renderings.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace parlino::testing {

using Samples = std::vector<std::int16_t>;

// Raw mono 16-bit samples, as SDL's disk driver writes them.
Samples ReadRawSamples(const std::filesystem::path& file);
// The samples of a mono 16-bit WAV file.
Samples ReadWavSamples(const std::filesystem::path& file);
// What the espeak-ng program itself makes of `text` at its default rate, with `voice` (an
// identifier such as "gmw/af") or else its default voice.
Samples EspeakNgRendering(const std::filesystem::path& folder, const std::string& text,
                          const std::string& voice = "");

// What the flite program itself makes of `text` with `voice` ("kal", "slt", ...), its durations
// stretched by `duration_stretch` when that is given.
Samples FliteRendering(const std::filesystem::path& folder, const std::string& text,
                       const std::string& voice, double durationStretch = 0);
// One channel (0 left, 1 right) of interleaved stereo samples.
Samples Channel(const Samples& stereo, std::size_t channel);

// Sample levels above this count as sound.
inline constexpr int kSoundLevel = 300;

// From the first to the last sample that sounds; empty when nothing does.
struct SoundSpan {
  std::size_t first = 0;
  std::size_t end = 0;
  std::size_t length() const { return end - first; }
};
SoundSpan FindSound(const Samples& samples, std::size_t from = 0);
// How many samples sound.
std::size_t CountSound(const Samples& samples);
int PeakLevel(const Samples& samples);
// The median fundamental frequency of the voiced parts, in Hz.
double MedianPitch(const Samples& samples, int sampleRate);

}  // namespace parlino::testing
