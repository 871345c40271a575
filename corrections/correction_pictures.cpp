#include "corrections/correction_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace parlino::corrections {
namespace {

const QColor kGreen(0x2E, 0x9B, 0x3A);
const QColor kRed(0xD0, 0x31, 0x2D);
const QColor kBlue(0x1F, 0x5F, 0xB8);
const QColor kOutline(0x33, 0x33, 0x33);
const QColor kWood(0xF2, 0xC1, 0x4E);

// A thick cross of two bars through the centre, turned by `angle` degrees.
void DrawCross(QPainter& painter, const QColor& colour, qreal angle) {
  painter.save();
  painter.translate(8, 8);
  painter.rotate(angle);
  painter.setPen(QPen(colour.darker(140), 0.8));
  painter.setBrush(colour);
  painter.drawPath([] {
    QPainterPath bars;
    bars.addRect(QRectF(-6, -1.8, 12, 3.6));
    bars.addRect(QRectF(-1.8, -6, 3.6, 12));
    return bars.simplified();
  }());
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

QPixmap Draw(CorrectionPicture picture, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  switch (picture) {
    case CorrectionPicture::Add:
      DrawCross(painter, kGreen, 0);
      break;
    case CorrectionPicture::Edit:
      DrawPencil(painter);
      break;
    case CorrectionPicture::Delete:
      DrawCross(painter, kRed, 45);
      break;
    case CorrectionPicture::Test:
      DrawSpeaker(painter);
      break;
  }
  return pixmap;
}

}  // namespace

QIcon CorrectionIcon(CorrectionPicture picture) {
  QIcon icon;
  for (const int size : {16, 24, 32, 48}) icon.addPixmap(Draw(picture, size));
  return icon;
}

}  // namespace parlino::corrections
