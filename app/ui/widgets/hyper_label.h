#pragma once
// A text label that acts as a link: the hand cursor, one colour while the mouse is over it and
// another otherwise, and a click signal.
#include <QLabel>

#include "app/ui/widgets/gradient_ramp.h"

namespace parlino::app {

class THyperLabel final : public QLabel {
  Q_OBJECT
 public:
  explicit THyperLabel(const QString& text, QWidget* parent = nullptr);

  Colour ColorEnter() const { return colorEnter_; }
  Colour ColorLeave() const { return colorLeave_; }
  void SetColorEnter(Colour colour) { colorEnter_ = colour; }
  // Also the colour shown from now on.
  void SetColorLeave(Colour colour);
  // The colour the text is drawn in now.
  Colour FontColor() const;

 signals:
  void Click();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetFontColor(Colour colour);

  Colour colorEnter_ = Rgb(255, 0, 0);
  Colour colorLeave_ = Rgb(0, 0, 255);
  bool pressed_ = false;
};

}  // namespace parlino::app
