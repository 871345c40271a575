#pragma once
// The scales of speed, pitch and volume. A modern voice's speed and pitch are slider steps
// -10..10, shown and stored as 15 x step + 180 (30..330); a legacy engine's values are its own
// units, shown and stored as they are. Volume is percent on both. One place for every conversion
// (the legacy engine's own volume encoding lives in TMSpeech).
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/text.h"

namespace parlino::speech {

// Slider ranges of a modern voice.
inline constexpr std::int32_t kSapi5MinStep = -10;
inline constexpr std::int32_t kSapi5MaxStep = 10;
inline constexpr std::int32_t kMinVolume = 0;
inline constexpr std::int32_t kMaxVolume = 100;

// What a newly chosen modern voice starts with: the voice gets rate -2 at once, while the speed
// slider shows -3, the value the next speech sends.
inline constexpr std::int32_t kSapi5InitialRate = -2;
inline constexpr std::int32_t kSapi5InitialSpeed = -3;
inline constexpr std::int32_t kSapi5InitialPitch = -5;
inline constexpr std::int32_t kSapi5InitialVolume = 100;

constexpr std::int32_t Sapi5Readout(std::int32_t position) {
  return 15 * position + 180;
}

// The slider step of a stored modern value: round(stored / 15) - 12.
inline std::int32_t Sapi5Position(std::int32_t stored) {
  return static_cast<std::int32_t>(std::lround(stored / 15.0)) - 12;
}

// The read-out of a slider position on the scale in use.
constexpr std::int32_t Readout(std::int32_t position, bool sapi5Scales) {
  return sapi5Scales ? Sapi5Readout(position) : position;
}

// The markup that sets a modern voice's pitch for the rest of the text.
inline Text PitchPrefix(std::int32_t step) {
  return u"<pitch middle=\"" + ToText(step) + u"\">";
}

// A legacy engine unit as a slider position; units beyond the slider's integer range stop at its
// end instead of turning negative.
constexpr std::int32_t SliderUnits(std::uint32_t units) {
  constexpr auto kMax = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(units > kMax ? kMax : units);
}

// What a legacy engine gets for a speed or pitch left at 0: half its span (not its midpoint),
// the difference taken as an unsigned 32-bit number.
constexpr std::uint32_t Sapi4HalfSpan(std::uint32_t minimum, std::uint32_t maximum) {
  return (maximum - minimum) / 2;
}

// The volume to send for a slider position and its read-out: 0 counts as unset, and a volume
// that is unset in both becomes full volume.
constexpr std::int32_t VolumeToSend(std::int32_t position, std::int32_t readout) {
  if (position != 0) return position;
  return readout != 0 ? readout : kMaxVolume;
}

}  // namespace parlino::speech
