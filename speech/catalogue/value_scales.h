#pragma once
// The scales of speed, pitch and volume. A modern voice's speed and pitch are slider steps
// -10..10, shown and stored as 15 x step + 180 (30..330); a legacy engine's values are its own
// units, shown and stored as they are. One place for every conversion.
#include <cmath>
#include <cstdint>

#include "platform/text.h"

namespace parlino::speech {

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

}  // namespace parlino::speech
