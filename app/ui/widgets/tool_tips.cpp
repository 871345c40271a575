#include "app/ui/widgets/tool_tips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace parlino::app {

bool ShowToolTip(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  const auto& help = static_cast<const QHelpEvent&>(*event);
  QString text = widget->toolTip();
  QRect area;  // where the tip stays up; empty: the whole control
  // An item view's tips belong to its items, and the view's viewport gets the request.
  if (auto* view = qobject_cast<QAbstractItemView*>(widget->parentWidget());
      view != nullptr && view->viewport() == widget) {
    const QModelIndex index = view->indexAt(help.pos());
    if (!index.isValid()) return false;
    text = index.data(Qt::ToolTipRole).toString();
    area = view->visualRect(index);
  }
  if (text.isEmpty()) return false;
  QToolTip::showText(help.globalPos(), text, widget, area, kToolTipMilliseconds);
  return true;
}

}  // namespace parlino::app
