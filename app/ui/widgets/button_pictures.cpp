#include "app/ui/widgets/button_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace parlino::app {
namespace {

const QColor kGreen(0x2E, 0x9B, 0x3A);
const QColor kRed(0xD0, 0x31, 0x2D);
const QColor kBlue(0x1F, 0x5F, 0xB8);
const QColor kOutline(0x33, 0x33, 0x33);
const QColor kWood(0xF2, 0xC1, 0x4E);
const QColor kPaper(0xF7, 0xF7, 0xF2);

// Two bars through (x, y), turned by `angle` degrees: a plus, or at 45 degrees a cross.
void DrawBars(QPainter& painter, const QColor& colour, qreal angle, qreal x = 8, qreal y = 8,
              qreal size = 12) {
  painter.save();
  painter.translate(x, y);
  painter.rotate(angle);
  painter.setPen(QPen(colour.darker(140), 0.8));
  painter.setBrush(colour);
  QPainterPath bars;
  bars.addRect(QRectF(-size / 2, -size * 0.15, size, size * 0.3));
  bars.addRect(QRectF(-size * 0.15, -size / 2, size * 0.3, size));
  painter.drawPath(bars.simplified());
  painter.restore();
}

// A pencil lying from the lower left to the upper right.
void DrawPencil(QPainter& painter) {
  painter.save();
  painter.translate(8, 8);
  painter.rotate(-45);
  painter.setPen(QPen(kOutline, 0.8));
  painter.setBrush(kWood);
  painter.drawRect(QRectF(-4, -2, 9, 4));
  painter.setBrush(kRed);
  painter.drawRect(QRectF(5, -2, 2, 4));
  QPainterPath tip;
  tip.moveTo(-4, -2);
  tip.lineTo(-7.5, 0);
  tip.lineTo(-4, 2);
  tip.closeSubpath();
  painter.setBrush(QColor(0xF5, 0xE6, 0xC8));
  painter.drawPath(tip);
  painter.restore();
}

// A sheet with lines, the whole list, crossed out in its corner.
void DrawClearedList(QPainter& painter) {
  painter.setPen(QPen(kOutline, 0.8));
  painter.setBrush(kPaper);
  painter.drawRect(QRectF(1.5, 1.5, 10, 12.5));
  painter.setPen(QPen(kOutline, 1));
  for (const qreal y : {4.5, 7.0, 9.5, 12.0}) painter.drawLine(QPointF(3.5, y), QPointF(9.5, y));
  DrawBars(painter, kRed, 45, 11.5, 11.5, 8);
}

// A loudspeaker with two sound waves.
void DrawSpeaker(QPainter& painter) {
  painter.setPen(QPen(kOutline, 0.8));
  painter.setBrush(kBlue);
  QPainterPath speaker;
  speaker.moveTo(1.5, 5.5);
  speaker.lineTo(4.5, 5.5);
  speaker.lineTo(8.5, 2);
  speaker.lineTo(8.5, 14);
  speaker.lineTo(4.5, 10.5);
  speaker.lineTo(1.5, 10.5);
  speaker.closeSubpath();
  painter.drawPath(speaker);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(kBlue, 1.3, Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(QRectF(7, 5, 5, 6), -50 * 16, 100 * 16);
  painter.drawArc(QRectF(7.5, 2.5, 7.5, 11), -55 * 16, 110 * 16);
}

QPixmap Draw(ButtonPicture picture, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  switch (picture) {
    case ButtonPicture::Add:
      DrawBars(painter, kGreen, 0);
      break;
    case ButtonPicture::Edit:
      DrawPencil(painter);
      break;
    case ButtonPicture::Delete:
      DrawBars(painter, kRed, 45);
      break;
    case ButtonPicture::Test:
      DrawSpeaker(painter);
      break;
    case ButtonPicture::ClearAll:
      DrawClearedList(painter);
      break;
  }
  return pixmap;
}

}  // namespace

QIcon ButtonIcon(ButtonPicture picture) {
  QIcon icon;
  for (const int size : {16, 24, 32, 48}) icon.addPixmap(Draw(picture, size));
  return icon;
}

}  // namespace parlino::app
