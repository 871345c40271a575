#pragma once
// The gradient control: fills its rectangle with the colour ramp of gradient_ramp.h. A disabled
// gradient is a background only: mouse presses reach the window beneath it.
#include <QWidget>

#include "app/ui/widgets/gradient_ramp.h"

namespace parlino::app {

class TGradient final : public QWidget {
  Q_OBJECT
 public:
  // Defaults: white to the system's button face colour.
  explicit TGradient(GradientStyle style, QWidget* parent = nullptr);
  TGradient(GradientStyle style, Colour begin, Colour end, QWidget* parent = nullptr);

  Colour ColorBegin() const { return colorBegin_; }
  Colour ColorEnd() const { return colorEnd_; }
  // Either change repaints the control.
  void SetColorBegin(Colour colour);
  void SetColorEnd(Colour colour);
  GradientStyle Style() const { return style_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  GradientStyle style_;
  Colour colorBegin_;
  Colour colorEnd_;
};

QColor ToQColor(Colour colour);

}  // namespace parlino::app
