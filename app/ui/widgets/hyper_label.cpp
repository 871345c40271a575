#include "app/ui/widgets/hyper_label.h"

#include <QMouseEvent>

#include "app/ui/widgets/gradient.h"

namespace parlino::app {

THyperLabel::THyperLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
  SetFontColor(colorLeave_);
}

void THyperLabel::SetColorLeave(Colour colour) {
  colorLeave_ = colour;
  SetFontColor(colour);
}

Colour THyperLabel::FontColor() const {
  const QColor colour = palette().color(QPalette::WindowText);
  return Rgb(colour.red(), colour.green(), colour.blue());
}

void THyperLabel::SetFontColor(Colour colour) {
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, ToQColor(colour));
  setPalette(colours);
}

void THyperLabel::enterEvent(QEnterEvent* event) {
  SetFontColor(colorEnter_);
  QLabel::enterEvent(event);
}

void THyperLabel::leaveEvent(QEvent* event) {
  SetFontColor(colorLeave_);
  QLabel::leaveEvent(event);
}

// A click is a press and a release of the left button on the label.
void THyperLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void THyperLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->pos());
  pressed_ = false;
  event->accept();
  if (click) emit Click();
}

}  // namespace parlino::app
