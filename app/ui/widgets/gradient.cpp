#include "app/ui/widgets/gradient.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace parlino::app {
namespace {

Colour ButtonFace() {
  const QColor face = QApplication::palette().color(QPalette::Button);
  return Rgb(face.red(), face.green(), face.blue());
}

}  // namespace

QColor ToQColor(Colour colour) {
  return QColor(Red(colour), Green(colour), Blue(colour));
}

TGradient::TGradient(GradientStyle style, QWidget* parent)
    : TGradient(style, Rgb(255, 255, 255), ButtonFace(), parent) {}

TGradient::TGradient(GradientStyle style, Colour begin, Colour end, QWidget* parent)
    : QWidget(parent), style_(style), colorBegin_(begin), colorEnd_(end) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGradient::SetColorBegin(Colour colour) {
  colorBegin_ = colour;
  update();
}

void TGradient::SetColorEnd(Colour colour) {
  colorEnd_ = colour;
  update();
}

void TGradient::paintEvent(QPaintEvent* /*event*/) {
  // The strip is stretched without smoothing: each row (or column) shows one strip entry.
  const std::vector<Colour> strip = GradientStrip(style_, colorBegin_, colorEnd_);
  QPainter painter(this);
  const bool down = RunsDown(style_);
  const int extent = down ? height() : width();
  for (int at = 0; at < extent; ++at) {
    const QColor colour = ToQColor(strip[StripEntry(at, extent, strip.size())]);
    if (down) {
      painter.fillRect(0, at, width(), 1, colour);
    } else {
      painter.fillRect(at, 0, 1, height(), colour);
    }
  }
}

// An enabled gradient is a control of its own: presses on it stop here.
void TGradient::mousePressEvent(QMouseEvent* event) {
  event->accept();
}

void TGradient::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
  }
  QWidget::changeEvent(event);
}

}  // namespace parlino::app
