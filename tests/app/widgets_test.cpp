#include <gtest/gtest.h>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QTest>

#include "app/ui/widgets/gradient.h"
#include "app/ui/widgets/hyper_label.h"

namespace parlino {
namespace {

using app::Colour;
using app::GradientStyle;
using app::Rgb;

// The colours of a gradient as drawn, one per row (H styles) or column (V styles).
std::vector<Colour> Drawn(GradientStyle style, Colour begin, Colour end, int width, int height) {
  app::TGradient gradient(style, begin, end);
  gradient.resize(width, height);
  const QImage image = gradient.grab().toImage();
  std::vector<Colour> drawn;
  const bool down = app::RunsDown(style);
  for (int at = 0; at < (down ? height : width); ++at) {
    // Every pixel across the strip is the same.
    const QRgb first = down ? image.pixel(0, at) : image.pixel(at, 0);
    const QRgb last = down ? image.pixel(width - 1, at) : image.pixel(at, height - 1);
    EXPECT_EQ(first, last) << at;
    drawn.push_back(Rgb(qRed(first), qGreen(first), qBlue(first)));
  }
  return drawn;
}

// Red runs 0..255 over the steps: the step a pixel shows is its red value.
constexpr Colour kBlack = Rgb(0, 0, 0);
constexpr Colour kRed = Rgb(255, 0, 0);

std::vector<int> RedSteps(const std::vector<Colour>& colours) {
  std::vector<int> steps;
  for (const Colour colour : colours) steps.push_back(app::Red(colour));
  return steps;
}

TEST(Gradient, StepsAreTruncatedInBothDirections) {
  const auto up = app::GradientSteps(Rgb(0, 0, 0), Rgb(100, 10, 255));
  EXPECT_EQ(up[0], Rgb(0, 0, 0));
  EXPECT_EQ(up[128], Rgb(50, 5, 128));  // 50.2, 5.02, 128
  EXPECT_EQ(up[254], Rgb(99, 9, 254));  // 99.6 and 9.96 are cut, not rounded
  EXPECT_EQ(up[255], Rgb(100, 10, 255));
  const auto down = app::GradientSteps(Rgb(100, 200, 7), Rgb(0, 0, 0));
  EXPECT_EQ(down[1], Rgb(100, 200, 7));  // 99.6 and 199.2 are cut towards the begin colour
  EXPECT_EQ(down[254], Rgb(1, 1, 1));
  EXPECT_EQ(down[255], Rgb(0, 0, 0));
}

struct DrawCase {
  GradientStyle style;
  int width;
  int height;
  std::vector<int> steps;  // the step of each row or column
};

TEST(Gradient, EachStyleStretchesItsStripOverOddSizes) {
  const DrawCase cases[] = {
      {GradientStyle::gsLinearH, 7, 3, {0, 85, 170}},
      {GradientStyle::gsLinearV, 5, 9, {0, 51, 102, 153, 204}},
      {GradientStyle::gsReflectedH, 3, 5, {255, 153, 51, 51, 153}},
      {GradientStyle::gsReflectedV, 7, 2, {255, 182, 109, 36, 36, 109, 182}},
      {GradientStyle::gsLinearH, 1, 1, {0}},
  };
  for (const DrawCase& each : cases) {
    SCOPED_TRACE(static_cast<int>(each.style));
    EXPECT_EQ(RedSteps(Drawn(each.style, kBlack, kRed, each.width, each.height)), each.steps);
  }
}

TEST(Gradient, FullSizeStripsShowEveryStepOnce) {
  std::vector<int> linear(256);
  for (int i = 0; i < 256; ++i) linear[static_cast<std::size_t>(i)] = i;
  EXPECT_EQ(RedSteps(Drawn(GradientStyle::gsLinearH, kBlack, kRed, 2, 256)), linear);
  std::vector<int> reflected(linear.rbegin(), linear.rend());
  reflected.insert(reflected.end(), linear.begin(), linear.end());
  EXPECT_EQ(RedSteps(Drawn(GradientStyle::gsReflectedV, kBlack, kRed, 512, 2)), reflected);
}

TEST(Gradient, ChangingAColourRepaints) {
  app::TGradient gradient(GradientStyle::gsLinearV, kBlack, kBlack);
  gradient.resize(4, 4);
  EXPECT_EQ(gradient.grab().toImage().pixel(3, 0), qRgb(0, 0, 0));
  gradient.SetColorEnd(Rgb(0, 0, 255));
  EXPECT_EQ(gradient.grab().toImage().pixel(3, 0),
            qRgb(0, 0, 192));  // column 3 of 4 shows step 192
  gradient.SetColorBegin(Rgb(0, 255, 0));
  EXPECT_EQ(gradient.grab().toImage().pixel(0, 0), qRgb(0, 255, 0));
}

// A press on a disabled gradient reaches the window beneath it; an enabled one takes it.
class PressRecorder : public QWidget {
 public:
  int presses = 0;
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST(Gradient, ADisabledGradientPassesClicksToTheWindowBeneath) {
  PressRecorder window;
  window.resize(100, 100);
  auto* gradient = new app::TGradient(GradientStyle::gsLinearH, &window);
  gradient->setGeometry(0, 0, 100, 100);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_EQ(window.presses, 0);
  gradient->setEnabled(false);
  QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
  EXPECT_EQ(window.presses, 1);
}

TEST(HyperLabel, TakesItsEnterColourUnderTheMouseAndClicks) {
  app::THyperLabel label("Continue");
  label.SetColorEnter(Rgb(1, 2, 3));
  label.SetColorLeave(Rgb(4, 5, 6));
  EXPECT_EQ(label.FontColor(), Rgb(4, 5, 6));  // setting the leave colour shows it at once
  EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);

  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(&label, &enter);
  EXPECT_EQ(label.FontColor(), Rgb(1, 2, 3));
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(&label, &leave);
  EXPECT_EQ(label.FontColor(), Rgb(4, 5, 6));

  int clicks = 0;
  QObject::connect(&label, &app::THyperLabel::Click, [&] { ++clicks; });
  label.resize(60, 20);
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(5, 5));
  QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace parlino
