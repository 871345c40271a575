#include "app/ui/tray/gradient_bands.h"

#include <algorithm>
#include <cstdlib>

namespace parlino::app {
namespace {

int Channel(Colour colour, int shift) {
  return static_cast<int>((colour >> shift) & 0xFF);
}

}  // namespace

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long product = static_cast<long long>(a) * b;
  const long long magnitude = (2 * std::llabs(product) + std::llabs(c)) / (2 * std::llabs(c));
  return static_cast<int>((product < 0) != (c < 0) ? -magnitude : magnitude);
}

void FillGradientBands(BandCanvas& canvas, const BandRect& rect, Colour start, int bandCount,
                       BandDirection direction, Colour end) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  if (bandCount < 2) {
    canvas.FillRect(rect, start);
    return;
  }

  // The two directions that run backwards step from the end colour to the start colour, so the
  // start colour still lies at the edge they start from.
  const bool forwards =
      direction == BandDirection::TopToBottom || direction == BandDirection::LeftToRight;
  const Colour base = forwards ? start : end;
  const Colour towards = forwards ? end : start;
  const bool across = direction == BandDirection::LeftToRight ||
                      direction == BandDirection::RightToLeft;  // bands side by side

  const int extent = across ? rect.right - rect.left : rect.bottom - rect.top;
  const int bands = std::max(2, std::min(bandCount, extent));
  const int bandSize = extent / bands;
  const auto band = [&](int from, int size) {
    return across ? BandRect{rect.left + from, rect.top, rect.left + from + size, rect.bottom}
                  : BandRect{rect.left, rect.top + from, rect.right, rect.top + from + size};
  };

  if (bandSize >= 1) {
    for (int k = 0; k < bands; ++k) {
      Colour colour = 0;
      for (const int shift : {0, 8, 16}) {
        const int step = Channel(towards, shift) - Channel(base, shift);
        const int value = Channel(base, shift) + MulDiv(k, step, bands - 1);
        colour |= static_cast<Colour>(value & 0xFF) << shift;
      }
      canvas.FillRect(band(k * bandSize, bandSize), colour);
    }
  }
  const int rest = extent % bands;
  if (rest > 0) canvas.FillRect(band(extent - rest, rest), towards);
}

}  // namespace parlino::app
