#include "tests/platform/audio_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "tests/fakes/temp_dir.h"

namespace parlino::testing {
namespace {

Samples ToSamples(const std::string& bytes, std::size_t from, std::size_t size) {
  Samples samples(std::min(size, bytes.size() - std::min(from, bytes.size())) / 2);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data() + from, samples.size() * 2);
  return samples;
}

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
  return value;
}

}  // namespace

Samples ReadRawSamples(const std::filesystem::path& file) {
  const std::string bytes = ReadBytes(file);
  return ToSamples(bytes, 0, bytes.size());
}

Samples ReadWavSamples(const std::filesystem::path& file) {
  const std::string bytes = ReadBytes(file);
  for (std::size_t at = 12; at + 8 <= bytes.size(); at += 8 + Le32(bytes, at + 4)) {
    if (bytes.compare(at, 4, "data") == 0) return ToSamples(bytes, at + 8, Le32(bytes, at + 4));
  }
  throw std::runtime_error("no data in " + file.string());
}

Samples EspeakNgRendering(const std::filesystem::path& folder, const std::string& text,
                          const std::string& voice) {
  const std::filesystem::path wav = folder / "espeak-ng.wav";
  const std::string command = "espeak-ng " + (voice.empty() ? "" : "-v '" + voice + "' ") + "-w '" +
                              wav.string() + "' '" + text + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  return ReadWavSamples(wav);
}

Samples FliteRendering(const std::filesystem::path& folder, const std::string& text,
                       const std::string& voice, double durationStretch) {
  const std::filesystem::path wav = folder / "flite.wav";
  const std::string stretch =
      durationStretch > 0 ? "--setf duration_stretch=" + std::to_string(durationStretch) + " " : "";
  const std::string command =
      "flite -voice '" + voice + "' " + stretch + "-t '" + text + "' -o '" + wav.string() + "'";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  return ReadWavSamples(wav);
}

Samples Channel(const Samples& stereo, std::size_t channel) {
  Samples samples;
  samples.reserve(stereo.size() / 2);
  for (std::size_t i = channel; i < stereo.size(); i += 2) samples.push_back(stereo[i]);
  return samples;
}

SoundSpan FindSound(const Samples& samples, std::size_t from) {
  const auto sounds = [](std::int16_t s) { return std::abs(s) > kSoundLevel; };
  from = std::min(from, samples.size());
  const auto first =
      std::find_if(samples.begin() + static_cast<std::ptrdiff_t>(from), samples.end(), sounds);
  if (first == samples.end()) return {samples.size(), samples.size()};
  const auto last = std::find_if(samples.rbegin(), samples.rend(), sounds);
  return {static_cast<std::size_t>(first - samples.begin()),
          static_cast<std::size_t>(samples.rend() - last)};
}

std::size_t CountSound(const Samples& samples) {
  return static_cast<std::size_t>(std::count_if(
      samples.begin(), samples.end(), [](std::int16_t s) { return std::abs(s) > kSoundLevel; }));
}

int PeakLevel(const Samples& samples) {
  int peak = 0;
  for (const std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

double MedianPitch(const Samples& samples, int sampleRate) {
  // Autocorrelation over 40 ms frames that are loud enough to be voiced, 50 .. 500 Hz.
  const auto frame = static_cast<std::size_t>(sampleRate / 25);
  const auto minLag = static_cast<std::size_t>(sampleRate / 500);
  const auto maxLag = static_cast<std::size_t>(sampleRate / 50);
  std::vector<double> pitches;
  for (std::size_t start = 0; start + frame + maxLag <= samples.size(); start += frame / 2) {
    double energy = 0;
    for (std::size_t i = 0; i < frame; ++i)
      energy += double(samples[start + i]) * samples[start + i];
    if (std::sqrt(energy / double(frame)) < 1500) continue;
    double best = 0;
    std::size_t bestLag = 0;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
      double sum = 0;
      for (std::size_t i = 0; i < frame; ++i)
        sum += double(samples[start + i]) * samples[start + i + lag];
      if (sum > best) {
        best = sum;
        bestLag = lag;
      }
    }
    if (best > 0.5 * energy) pitches.push_back(double(sampleRate) / double(bestLag));
  }
  if (pitches.empty()) return 0;
  std::nth_element(pitches.begin(),
                   pitches.begin() + static_cast<std::ptrdiff_t>(pitches.size() / 2),
                   pitches.end());
  return pitches[pitches.size() / 2];
}

}  // namespace parlino::testing
