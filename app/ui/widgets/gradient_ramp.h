#pragma once
// The colour ramp of the gradient control, without any drawing: 256 steps from the begin to the
// end colour, laid out as the strip that the control stretches over its rectangle.
#include <array>
#include <cstdint>
#include <vector>

namespace parlino::app {

// A colour as 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red) | (static_cast<Colour>(green) << 8) |
         (static_cast<Colour>(blue) << 16);
}
constexpr int Red(Colour colour) {
  return static_cast<int>(colour & 0xFF);
}
constexpr int Green(Colour colour) {
  return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int Blue(Colour colour) {
  return static_cast<int>((colour >> 16) & 0xFF);
}

// H styles change from top to bottom, V styles from left to right; the reflected ones run from
// the end colour to the begin colour in the middle and back.
enum class GradientStyle { gsLinearH, gsLinearV, gsReflectedH, gsReflectedV };

// Step i of 256: each channel begin + (end - begin) * i / 255, truncated.
std::array<Colour, 256> GradientSteps(Colour begin, Colour end);

// The strip in its own order (top to bottom or left to right): the 256 steps for the linear
// styles; 512 for the reflected ones, step 255 down to step 0 and back up to step 255.
std::vector<Colour> GradientStrip(GradientStyle style, Colour begin, Colour end);

// True when the strip runs from top to bottom (one colour per row).
constexpr bool RunsDown(GradientStyle style) {
  return style == GradientStyle::gsLinearH || style == GradientStyle::gsReflectedH;
}

// The strip entry that pixel `at` of `extent` pixels shows when the strip is stretched over them.
constexpr std::size_t StripEntry(int at, int extent, std::size_t stripLength) {
  return static_cast<std::size_t>(at) * stripLength / static_cast<std::size_t>(extent);
}

}  // namespace parlino::app
