// The tray menu's band fill, on the pixels of a small canvas that notices every pixel painted
// outside the rectangle.
#include "app/ui/tray/gradient_bands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace parlino {
namespace {

using app::BandDirection;
using app::BandRect;
using app::Colour;

constexpr Colour kUntouched = 0xFF000000;  // no colour the fill can make

class PixelCanvas final : public app::BandCanvas {
 public:
  PixelCanvas(int width, int height)
      : width_(width),
        height_(height),
        pixels_(static_cast<std::size_t>(width * height), kUntouched) {}

  void FillRect(const BandRect& rect, Colour colour) override {
    EXPECT_LE(0, rect.left);
    EXPECT_LE(0, rect.top);
    EXPECT_LE(rect.right, width_);
    EXPECT_LE(rect.bottom, height_);
    EXPECT_LT(rect.left, rect.right);
    EXPECT_LT(rect.top, rect.bottom);
    for (int y = std::max(0, rect.top); y < std::min(height_, rect.bottom); ++y) {
      for (int x = std::max(0, rect.left); x < std::min(width_, rect.right); ++x) At(x, y) = colour;
    }
    ++fills;
  }

  Colour& At(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

  // The colours along a row (or column) of the rectangle; every row (column) of it must agree,
  // and every pixel outside it must be untouched.
  std::vector<Colour> Ramp(const BandRect& rect, bool across) {
    std::vector<Colour> ramp;
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) {
        const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
        if (!inside) {
          EXPECT_EQ(At(x, y), kUntouched) << "painted outside at " << x << "," << y;
          continue;
        }
        const int along = across ? x - rect.left : y - rect.top;
        const int first = across ? y - rect.top : x - rect.left;
        if (first == 0) {
          ramp.push_back(At(x, y));
        } else {
          EXPECT_EQ(At(x, y), ramp[static_cast<std::size_t>(along)]) << x << "," << y;
        }
      }
    }
    return ramp;
  }

  int fills = 0;

 private:
  int width_;
  int height_;
  std::vector<Colour> pixels_;
};

// Only the red channel differs between the colours used below, unless a case says otherwise.
constexpr Colour Red(int red) {
  return static_cast<Colour>(red);
}

struct FillCase {
  const char* name;
  BandRect rect;  // on a 12 x 10 canvas
  Colour start;
  int bands;
  BandDirection direction;
  Colour end;
  std::vector<Colour> ramp;  // from the left (or top) edge of the rectangle
};

void PrintTo(const FillCase& c, std::ostream* os) {
  *os << c.name;
}

class GradientBands : public ::testing::TestWithParam<FillCase> {};

TEST_P(GradientBands, PaintsTheRampInsideTheRectangleOnly) {
  const FillCase& c = GetParam();
  PixelCanvas canvas(12, 10);
  app::FillGradientBands(canvas, c.rect, c.start, c.bands, c.direction, c.end);
  const bool across =
      c.direction == BandDirection::LeftToRight || c.direction == BandDirection::RightToLeft;
  EXPECT_EQ(canvas.Ramp(c.rect, across), c.ramp);
}

constexpr auto kLtr = BandDirection::LeftToRight;
constexpr auto kRtl = BandDirection::RightToLeft;
constexpr auto kTtb = BandDirection::TopToBottom;
constexpr auto kBtt = BandDirection::BottomToTop;

INSTANTIATE_TEST_SUITE_P(
    Cases, GradientBands,
    ::testing::Values(
        // Two bands split the extent; the backward directions put the start colour at their end.
        FillCase{"LeftToRight2", {2, 1, 6, 4}, Red(10), 2, kLtr, Red(50), {10, 10, 50, 50}},
        FillCase{"RightToLeft2", {2, 1, 6, 4}, Red(10), 2, kRtl, Red(50), {50, 50, 10, 10}},
        FillCase{"TopToBottom2", {3, 2, 5, 6}, Red(10), 2, kTtb, Red(50), {10, 10, 50, 50}},
        FillCase{"BottomToTop2", {3, 2, 5, 6}, Red(10), 2, kBtt, Red(50), {50, 50, 10, 10}},
        // Fewer than two bands: one colour, the start colour, whatever the direction.
        FillCase{"NoBands", {1, 1, 4, 3}, Red(10), 0, kRtl, Red(50), {10, 10, 10}},
        FillCase{"OneBand", {1, 1, 4, 3}, Red(10), 1, kBtt, Red(50), {10, 10}},
        // 7 pixels in 3 bands of 2: the pixel left over takes the far edge's colour.
        FillCase{"RestLeftToRight",
                 {0, 0, 7, 2},
                 Red(0),
                 3,
                 kLtr,
                 Red(100),
                 {0, 0, 50, 50, 100, 100, 100}},
        FillCase{"RestBottomToTop",
                 {0, 0, 2, 7},
                 Red(0),
                 3,
                 kBtt,
                 Red(100),
                 {100, 100, 50, 50, 0, 0, 0}},
        FillCase{"RestRightToLeft",
                 {0, 0, 7, 2},
                 Red(0),
                 3,
                 kRtl,
                 Red(100),
                 {100, 100, 50, 50, 0, 0, 0}},
        FillCase{"RestTopToBottom",
                 {0, 0, 2, 7},
                 Red(0),
                 3,
                 kTtb,
                 Red(100),
                 {0, 0, 50, 50, 100, 100, 100}},
        // 16 bands asked, 5 pixels there: 5 bands of one pixel.
        FillCase{"NarrowerThanTheBands",
                 {4, 4, 9, 5},
                 Red(0),
                 16,
                 kLtr,
                 Red(200),
                 {0, 50, 100, 150, 200}},
        // One pixel: two bands of no width, the pixel is the rest.
        FillCase{"OnePixelLeftToRight", {4, 4, 5, 8}, Red(0), 16, kLtr, Red(200), {200}},
        FillCase{"OnePixelRightToLeft", {4, 4, 5, 8}, Red(0), 16, kRtl, Red(200), {0}},
        // Halves round away from zero, downwards too: 10 + (-1 * 1 / 2) is 9, not 10.
        FillCase{"HalvesAwayFromZero", {0, 0, 3, 1}, Red(10), 3, kLtr, Red(9), {10, 9, 9}},
        FillCase{"HalvesUp", {0, 0, 3, 1}, Red(9), 3, kLtr, Red(10), {9, 10, 10}},
        // Each channel steps on its own; blue 255 - 127.5 rounds to 127.
        FillCase{"Channels",
                 {0, 0, 3, 1},
                 0x00FF0080,
                 3,
                 kLtr,
                 0x0000FF00,
                 {0x00FF0080, 0x007F8040, 0x0000FF00}}));

TEST(GradientBands, EmptyRectanglePaintsNothing) {
  for (const BandRect rect : {BandRect{3, 3, 3, 6}, BandRect{3, 3, 6, 3}, BandRect{5, 5, 2, 8}}) {
    PixelCanvas canvas(12, 10);
    app::FillGradientBands(canvas, rect, Red(1), 16, kLtr, Red(2));
    EXPECT_EQ(canvas.fills, 0);
  }
}

TEST(GradientBands, TheMenusTwentyPixelStrip) {
  // Active caption navy, inactive caption grey, as on a classic desktop.
  const Colour active = 0x00800000;
  const Colour inactive = 0x00808080;
  PixelCanvas canvas(24, 30);
  const BandRect strip{0, 0, 20, 30};
  app::FillGradientBands(canvas, strip, active, 16, kLtr, inactive);
  const std::vector<Colour> ramp = canvas.Ramp(strip, true);
  // Red and green climb from 0 to 128 in 16 one-pixel bands, round(k * 128 / 15); blue stays.
  const int climb[] = {0, 9, 17, 26, 34, 43, 51, 60, 68, 77, 85, 94, 102, 111, 119, 128};
  ASSERT_EQ(ramp.size(), 20u);
  for (int k = 0; k < 16; ++k) {
    const auto value = static_cast<Colour>(climb[k]);
    EXPECT_EQ(ramp[static_cast<std::size_t>(k)], 0x00800000 | value << 8 | value) << k;
  }
  for (int x = 16; x < 20; ++x) EXPECT_EQ(ramp[static_cast<std::size_t>(x)], inactive) << x;
}

TEST(GradientBands, MulDivRoundsHalvesAwayFromZero) {
  const struct {
    int a, b, c, result;
  } cases[] = {{1, 1, 2, 1}, {1, -1, 2, -1}, {3, 1, 2, 2},    {-3, 1, 2, -2},   {1, 1, 3, 0},
               {2, 1, 3, 1}, {0, 9, 5, 0},   {1, 128, 15, 9}, {7, 10, -4, -18}, {5, 7, 0, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(app::MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
  }
}

}  // namespace
}  // namespace parlino
