#include "app/ui/tray/tray_menu.h"

#include <QPainter>

namespace parlino::app {
namespace {

Colour ColourOf(const QColor& colour) {
  return static_cast<Colour>(colour.red()) | static_cast<Colour>(colour.green()) << 8 |
         static_cast<Colour>(colour.blue()) << 16;
}

class PainterCanvas final : public BandCanvas {
 public:
  explicit PainterCanvas(QPainter& painter) : painter_(painter) {}
  void FillRect(const BandRect& rect, Colour colour) override {
    painter_.fillRect(QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top),
                      QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                             static_cast<int>(colour >> 16 & 0xFF)));
  }

 private:
  QPainter& painter_;
};

}  // namespace

TTrayMenu::TTrayMenu(QWidget* parent) : QMenu(parent) {
  setObjectName("TrayMenu");
  setSeparatorsCollapsible(false);
  // The items start to the right of the strip.
  setContentsMargins(kStripWidth, 0, 0, 0);
}

QAction* TTrayMenu::AddItem(const char* name, const QString& caption) {
  QAction* item = caption.isEmpty() ? addSeparator() : addAction(caption);
  item->setObjectName(name);
  return item;
}

Colour TTrayMenu::StripStart() const {
  return ColourOf(palette().color(QPalette::Active, QPalette::Highlight));
}

Colour TTrayMenu::StripEnd() const {
  return ColourOf(palette().color(QPalette::Active, QPalette::Dark));
}

void TTrayMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  QPainter painter(this);
  PainterCanvas canvas(painter);
  FillGradientBands(canvas, {0, 0, kStripWidth, height()}, StripStart(), kStripBands,
                    BandDirection::LeftToRight, StripEnd());
}

}  // namespace parlino::app
