// The pictures of the cart's small controls: the volume wedge and knob, the
// thumb's strip, the pause and stop strips, the play button, the trace's
// screen and the position groove. In design pixels; strips hold their cells
// side by side.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "cart/cartartwork.h"

namespace quillon::cart {

namespace {

void paintWedge(QPainter& p) {
  // The level rises from left to right across the knob's travel (the first
  // 85 pixels show); past it the wedge runs on at full height.
  QPainterPath wedge;
  wedge.moveTo(3, 13.5);
  wedge.lineTo(82, 2.5);
  wedge.lineTo(133, 2.5);
  wedge.lineTo(133, 13.5);
  wedge.closeSubpath();
  QLinearGradient level(3, 0, 82, 0);
  level.setColorAt(0, QColor(150, 160, 170));
  level.setColorAt(0.7, QColor(70, 150, 150));
  level.setColorAt(1, QColor(30, 170, 80));
  p.setPen(QPen(QColor(60, 66, 74), 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(level);
  p.drawPath(wedge);
  // The rail the knob rides on.
  p.setPen(QPen(QColor(40, 44, 50, 150), 1));
  p.drawLine(QPointF(3, 14.5), QPointF(133, 14.5));
}

void paintKnob(QPainter& p) {
  const QRectF cap(0.5, 0.5, 9, 15);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 60));
  p.drawRoundedRect(cap.translated(0.5, 0.5), 2, 2);
  QLinearGradient metal(0, 0, 10, 0);
  metal.setColorAt(0, QColor(250, 251, 252));
  metal.setColorAt(0.5, QColor(206, 211, 217));
  metal.setColorAt(1, QColor(150, 157, 166));
  p.setBrush(metal);
  p.setPen(QPen(QColor(40, 44, 50), 1));
  p.drawRoundedRect(cap, 2, 2);
  // The index line.
  p.setPen(QPen(QColor(20, 22, 26), 1.2));
  p.drawLine(QPointF(5, 3), QPointF(5, 13));
  p.setPen(QPen(QColor(255, 255, 255, 200), 0.8));
  p.drawLine(QPointF(6.1, 3), QPointF(6.1, 13));
}

void paintThumbCell(QPainter& p, qreal left, const QColor& top, const QColor& bottom,
                    const QColor& edge) {
  const QRectF cell(left + 0.5, 0.5, 4, 8);
  p.setPen(QPen(edge, 1));
  p.setBrush(verticalGradient(0, 9, top, bottom));
  p.drawRoundedRect(cell, 1.2, 1.2);
  p.setPen(QPen(QColor(0, 0, 0, 110), 0.8));
  p.drawLine(QPointF(left + 2.5, 2), QPointF(left + 2.5, 7));
}

void paintSuiteSlide(QPainter& p) {
  paintThumbCell(p, 0, QColor(250, 251, 252), QColor(170, 178, 188), QColor(10, 12, 14));
  paintThumbCell(p, 5, QColor(230, 255, 255), QColor(60, 220, 235), QColor(0, 70, 80));
  paintThumbCell(p, 10, QColor(120, 126, 134), QColor(80, 86, 94), QColor(10, 12, 14));
}

void paintButtonCell(QPainter& p, qreal left, const QColor& top, const QColor& bottom,
                     const QColor& edge) {
  const QRectF body(left + 0.5, 0.5, 9, 11);
  p.setPen(QPen(edge, 1));
  p.setBrush(verticalGradient(0, 12, top, bottom));
  p.drawRoundedRect(body, 1.8, 1.8);
  p.setPen(QPen(QColor(255, 255, 255, 60), 1));
  p.drawLine(QPointF(left + 2, 1.5), QPointF(left + 8, 1.5));
}

void paintPauseGlyph(QPainter& p, qreal left, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRect(QRectF(left + 2.5, 3, 2, 6));
  p.drawRect(QRectF(left + 5.5, 3, 2, 6));
}

void paintStopGlyph(QPainter& p, qreal left, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRect(QRectF(left + 2.5, 3.5, 5, 5));
}

void paintControlPause(QPainter& p) {
  paintButtonCell(p, 0, QColor(84, 92, 102), QColor(44, 49, 56), QColor(6, 8, 10));
  paintPauseGlyph(p, 0, QColor(225, 230, 236));
  paintButtonCell(p, 10, QColor(255, 210, 90), colours::kPausedAmber, QColor(90, 50, 0));
  paintPauseGlyph(p, 10, QColor(40, 24, 0));
}

void paintControlStop(QPainter& p) {
  paintButtonCell(p, 0, QColor(84, 92, 102), QColor(44, 49, 56), QColor(6, 8, 10));
  paintStopGlyph(p, 0, QColor(225, 230, 236));
  paintButtonCell(p, 10, QColor(255, 120, 100), QColor(210, 30, 20), QColor(90, 0, 0));
  paintStopGlyph(p, 10, Qt::white);
}

void paintPlayButton(QPainter& p) {
  const QRectF body(2.5, 2.5, 14, 17);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 55));
  p.drawRoundedRect(body.translated(0, 1), 3, 3);
  p.setBrush(
      verticalGradient(body.top(), body.bottom(), QColor(90, 215, 115), QColor(20, 130, 48)));
  p.setPen(QPen(QColor(8, 70, 24), 1));
  p.drawRoundedRect(body, 3, 3);
  p.setPen(QPen(QColor(255, 255, 255, 110), 1));
  p.drawLine(QPointF(5, 3.5), QPointF(14, 3.5));
  QPolygonF triangle;
  triangle << QPointF(7, 6.5) << QPointF(7, 15.5) << QPointF(13.5, 11);
  p.setPen(QPen(QColor(0, 60, 20, 120), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPolygon(triangle);
}

void paintTraceScreen(QPainter& p) {
  p.fillRect(QRectF(0, 0, 67, 37), QColor(3, 7, 5));
  p.setPen(QPen(QColor(20, 58, 34), 1, Qt::DotLine));
  for (qreal x = 8.5; x < 67; x += 8) p.drawLine(QPointF(x, 0), QPointF(x, 37));
  for (qreal y : {4.5, 9.5, 27.5, 32.5}) p.drawLine(QPointF(0, y), QPointF(67, y));
  p.setPen(QPen(QColor(34, 90, 52), 1));
  p.drawLine(QPointF(0, 18.5), QPointF(67, 18.5));
}

void paintPositionGroove(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 30));
  p.drawRoundedRect(QRectF(1, 2.5, 87, 5), 2.5, 2.5);
  p.setBrush(QColor(2, 3, 4));
  p.drawRoundedRect(QRectF(1, 2, 87, 5), 2.5, 2.5);
  // Quarter marks above the groove.
  p.setPen(QPen(QColor(150, 158, 168, 150), 1));
  for (qreal x : {21.5, 43.5, 65.5}) p.drawLine(QPointF(x, 0), QPointF(x, 1.5));
}

}  // namespace

void paintControl(QPainter& p, Artwork art) {
  switch (art) {
    case Artwork::Wedge:
      return paintWedge(p);
    case Artwork::Knob:
      return paintKnob(p);
    case Artwork::SuiteSlide:
      return paintSuiteSlide(p);
    case Artwork::ControlPause:
      return paintControlPause(p);
    case Artwork::ControlStop:
      return paintControlStop(p);
    case Artwork::PlayButton:
      return paintPlayButton(p);
    case Artwork::TraceScreen:
      return paintTraceScreen(p);
    case Artwork::PositionGroove:
      return paintPositionGroove(p);
    default:
      return;  // the backgrounds: cartbackgrounds.cpp
  }
}

}  // namespace quillon::cart
