#include "app/ui/widgets/artwork.h"

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
  PaintPicture(painter, picture);
  return pixmap;
}

}  // namespace

void PaintPicture(QPainter& painter, Picture picture) {
  // Bubble (corners of radius 3) with a tail at the lower left, as one outline drawn clockwise:
  // joining two shapes would flatten the corners, which shows in the large desktop icons.
  QPainterPath bubble;
  bubble.moveTo(3.5, 1.5);
  bubble.arcTo(QRectF(5.5, 1.5, 6, 6), 90, -90);
  bubble.arcTo(QRectF(5.5, 4.5, 6, 6), 0, -90);
  bubble.lineTo(5.94, 10.5);  // the tail's right edge, from (6.5, 10) to its tip
  bubble.lineTo(1.5, 14.5);
  bubble.arcTo(QRectF(0.5, 4.5, 6, 6), 247.4, -67.4);  // its left edge meets the corner here
  bubble.arcTo(QRectF(0.5, 1.5, 6, 6), 180, -90);
  bubble.closeSubpath();
  painter.setPen(QPen(kOutline, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(kFill);
  painter.drawPath(bubble);

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
}

QIcon ProgramIcon(Picture picture) {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64}) icon.addPixmap(Draw(picture, size));
  return icon;
}

}  // namespace parlino::app
