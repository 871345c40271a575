#pragma once
// Fills a rectangle with bands of colour stepping from one colour to another: the tray menu's
// left margin. Plain logic over a canvas that can fill rectangles, so it is tested on pixels.
#include <cstdint>

namespace parlino::app {

// 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

// Left and top inclusive, right and bottom exclusive.
struct BandRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class BandCanvas {
 public:
  virtual ~BandCanvas() = default;
  virtual void FillRect(const BandRect& rect, Colour colour) = 0;
};

enum class BandDirection { TopToBottom, BottomToTop, LeftToRight, RightToLeft };

// The start colour at the edge the direction starts from, the end colour at the other;
// `bandCount` bands, fewer when the rectangle is narrower than that; what the bands leave at the
// far edge takes the colour of that edge.
void FillGradientBands(BandCanvas& canvas, const BandRect& rect, Colour start, int bandCount,
                       BandDirection direction, Colour end);

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

}  // namespace parlino::app
