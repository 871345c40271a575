#pragma once
// The look of the slot editor's voice list: the selected voice on a light blue that fades to
// white downwards, the voice under the mouse lightly highlighted, long names wrapped.
#include <QStyledItemDelegate>

class QListWidget;

namespace parlino::voice_slots {

class VoiceItemDelegate final : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // The colours, exposed for the tests that look at what is drawn.
  static QColor SelectedTop();
  static QColor SelectedBottom();
  static QColor Hovered();

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

// Gives the list that look: the delegate, word wrap, and the mouse followed for the highlight.
void DressVoiceList(QListWidget& list);

}  // namespace parlino::voice_slots
