#include "app/ui/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace parlino::app {
namespace {

QPixmap DrawProgramIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);

  // Bubble with a tail at the lower left.
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(0.5, 1.5, 11, 9), 3, 3);
  QPainterPath tail;
  tail.moveTo(2.5, 9.5);
  tail.lineTo(1.5, 14.5);
  tail.lineTo(6.5, 10);
  painter.setPen(QPen(QColor(0x00, 0x4E, 0x98), 1));
  painter.setBrush(QColor(0x63, 0x8E, 0xD8));
  painter.drawPath(bubble.united(tail));

  // Sound waves to the right.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(QColor(0x00, 0x4E, 0x98), 1.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(QRectF(9, 3.5, 4, 5), -60 * 16, 120 * 16);
  painter.drawArc(QRectF(9.5, 1.5, 6, 9), -60 * 16, 120 * 16);

  // Text lines inside the bubble.
  painter.setPen(QPen(Qt::white, 1.1, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(3, 4.5), QPointF(8.5, 4.5));
  painter.drawLine(QPointF(3, 7.2), QPointF(7, 7.2));
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64}) icon.addPixmap(DrawProgramIcon(size));
  return icon;
}

}  // namespace parlino::app
