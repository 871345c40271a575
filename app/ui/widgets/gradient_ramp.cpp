#include "app/ui/widgets/gradient_ramp.h"

namespace parlino::app {
namespace {

// Integer division truncates towards zero, in both directions of the ramp.
int Channel(int begin, int end, int step) {
  return begin + (end - begin) * step / 255;
}

}  // namespace

std::array<Colour, 256> GradientSteps(Colour begin, Colour end) {
  std::array<Colour, 256> steps{};
  for (int i = 0; i < 256; ++i) {
    steps[static_cast<std::size_t>(i)] =
        Rgb(Channel(Red(begin), Red(end), i), Channel(Green(begin), Green(end), i),
            Channel(Blue(begin), Blue(end), i));
  }
  return steps;
}

std::vector<Colour> GradientStrip(GradientStyle style, Colour begin, Colour end) {
  const std::array<Colour, 256> steps = GradientSteps(begin, end);
  if (style == GradientStyle::gsLinearH || style == GradientStyle::gsLinearV) {
    return {steps.begin(), steps.end()};
  }
  std::vector<Colour> strip(steps.rbegin(), steps.rend());
  strip.insert(strip.end(), steps.begin(), steps.end());
  return strip;
}

}  // namespace parlino::app
