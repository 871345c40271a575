#include "slots/voice_list_look.h"

#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>

namespace parlino::voice_slots {

QColor VoiceItemDelegate::SelectedTop() {
  return QColor(0xA6, 0xCA, 0xF0);
}

QColor VoiceItemDelegate::SelectedBottom() {
  return QColor(Qt::white);
}

QColor VoiceItemDelegate::Hovered() {
  return QColor(0xE5, 0xF1, 0xFB);
}

void VoiceItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem item(option);
  const QRectF area = item.rect;
  painter->save();
  if (item.state & QStyle::State_Selected) {
    QLinearGradient fade(area.topLeft(), area.bottomLeft());
    fade.setColorAt(0, SelectedTop());
    fade.setColorAt(1, SelectedBottom());
    painter->fillRect(area, fade);
    painter->setPen(SelectedTop().darker(130));
    painter->drawRect(area.adjusted(0, 0, -1, -1));
  } else if (item.state & QStyle::State_MouseOver) {
    painter->fillRect(area, Hovered());
  }
  painter->restore();
  // The text goes on top in the list's own colour, wrapped by the style; its own selection
  // and hover fills are left out.
  item.state &= ~(QStyle::State_Selected | QStyle::State_MouseOver | QStyle::State_HasFocus);
  QStyledItemDelegate::paint(painter, item, index);
}

void DressVoiceList(QListWidget& list) {
  list.setItemDelegate(new VoiceItemDelegate(&list));
  list.setWordWrap(true);
  list.setTextElideMode(Qt::ElideNone);
  list.setResizeMode(QListView::Adjust);  // wrapped heights follow the list's width
  list.setMouseTracking(true);
  list.viewport()->setAttribute(Qt::WA_Hover);
  QPalette palette = list.palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  list.setPalette(palette);
}

}  // namespace parlino::voice_slots
