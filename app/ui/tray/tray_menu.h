#pragma once
// The tray icon's menu: drawn as usual, with a strip 20 pixels wide along its left edge filled
// with bands from the active caption colour to the inactive one. The window adds the items.
#include <QMenu>

#include "app/ui/tray/gradient_bands.h"

namespace parlino::app {

class TTrayMenu final : public QMenu {
  Q_OBJECT
 public:
  static constexpr int kStripWidth = 20;
  static constexpr int kStripBands = 16;

  explicit TTrayMenu(QWidget* parent);

  // An item with its name; a separator for an empty caption.
  QAction* AddItem(const char* name, const QString& caption);

  // The strip's colours from the palette: the selection colour of an active window stands for
  // the active caption, the dark shade for the inactive one.
  Colour StripStart() const;
  Colour StripEnd() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace parlino::app
