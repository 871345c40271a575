#include "app/ui/artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace parlino::app {
namespace {

const QColor kOutline(0x00, 0x4E, 0x98);
const QColor kFill(0x63, 0x8E, 0xD8);
const QColor kLitWave(0xFF, 0x8D, 0x1C);

QPixmap Draw(Picture picture, int size) {
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
  painter.setPen(QPen(kOutline, 1));
  painter.setBrush(kFill);
  painter.drawPath(bubble.united(tail));

  // Sound waves to the right: the first frame lights the inner one, the second both.
  const auto wave = [&](const QRectF& bounds, bool lit) {
    painter.setPen(QPen(lit ? kLitWave : kOutline, lit ? 1.6 : 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(bounds, -60 * 16, 120 * 16);
  };
  painter.setBrush(Qt::NoBrush);
  wave(QRectF(9, 3.5, 4, 5), picture != Picture::Normal);
  wave(QRectF(9.5, 1.5, 6, 9), picture == Picture::SpeakingFrame2);

  // Text lines inside the bubble.
  painter.setPen(QPen(Qt::white, 1.1, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(3, 4.5), QPointF(8.5, 4.5));
  painter.drawLine(QPointF(3, 7.2), QPointF(7, 7.2));
  return pixmap;
}

}  // namespace

QIcon ProgramIcon(Picture picture) {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64}) icon.addPixmap(Draw(picture, size));
  return icon;
}

}  // namespace parlino::app
