// The three backgrounds of a cart and the marks laid over them. A cart reads
// in three bands: a dark instrument strip on top (trace, times, position,
// loop, pause and stop), the title band whose colour tells the state from
// across the room (steel idle, green playing, blue under a drag), and a light
// strip at the bottom (letter, play, volume, fades).
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "cart/cartartwork.h"
#include "cart/cartgeometry.h"

namespace quillon::cart {

namespace {

constexpr qreal kWidth = geometry::kPictureWidth;
constexpr qreal kHeight = geometry::kPictureHeight;
constexpr qreal kRadius = 5;
constexpr qreal kTitleTop = 46;
constexpr qreal kTitleBottom = 84;
const QColor kMissingRed(215, 25, 20);

struct Scheme {
  QColor titleTop, titleBottom;  // the title band's gradient
  QColor outline;                // the cart's edge
  QColor lamp;                   // the state lamp in the instrument strip
  bool lampLit;
};

Scheme schemeOf(Artwork background) {
  switch (background) {
    case Artwork::ImgPlay:
      return {QColor(58, 190, 84), QColor(18, 128, 44), QColor(8, 70, 24), QColor(80, 240, 110),
              true};
    case Artwork::ImgDrag:
      return {QColor(170, 222, 255), QColor(84, 170, 245), QColor(10, 100, 220),
              QColor(90, 190, 255), true};
    default:
      return {QColor(232, 235, 239), QColor(196, 202, 209), QColor(14, 17, 20), QColor(70, 76, 84),
              false};
  }
}

QPainterPath bodyPath() {
  QPainterPath path;
  path.addRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), kRadius, kRadius);
  return path;
}

void paintInstrumentStrip(QPainter& p) {
  QLinearGradient strip(0, 0, 0, kTitleTop);
  strip.setColorAt(0, QColor(54, 60, 68));
  strip.setColorAt(0.12, QColor(38, 43, 50));
  strip.setColorAt(1, QColor(24, 27, 32));
  p.fillRect(QRectF(0, 0, kWidth, kTitleTop), strip);
  // A brushed sheen, barely there.
  p.setPen(QPen(QColor(255, 255, 255, 10), 1));
  for (qreal y = 3.5; y < kTitleTop; y += 3) p.drawLine(QPointF(0, y), QPointF(kWidth, y));
}

// A recessed window in the instrument strip.
void paintWell(QPainter& p, const QRectF& r, qreal radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 28));  // lower lip catching the light
  p.drawRoundedRect(r.adjusted(-1, -1, 1, 1.5), radius + 1, radius + 1);
  p.setBrush(QColor(6, 8, 10));
  p.drawRoundedRect(r.adjusted(-1, -1, 1, 0.5), radius + 1, radius + 1);
  p.setBrush(QColor(12, 15, 18));
  p.drawRoundedRect(r, radius, radius);
}

void paintLamp(QPainter& p, const Scheme& s) {
  const QRectF lamp(79, 32, 24, 7);
  paintWell(p, lamp, 3);
  if (!s.lampLit) {
    p.setBrush(QColor(46, 51, 58));
    p.drawRoundedRect(lamp.adjusted(1, 1, -1, -1), 2.5, 2.5);
    return;
  }
  QRadialGradient glow(lamp.center(), 16);
  QColor halo = s.lamp;
  halo.setAlpha(90);
  glow.setColorAt(0, halo);
  glow.setColorAt(1, QColor(0, 0, 0, 0));
  p.setBrush(glow);
  p.drawRoundedRect(lamp.adjusted(-5, -4, 5, 4), 6, 6);
  p.setBrush(verticalGradient(lamp.top(), lamp.bottom(), s.lamp.lighter(150), s.lamp));
  p.drawRoundedRect(lamp.adjusted(1, 1, -1, -1), 2.5, 2.5);
}

void paintTitleBand(QPainter& p, const Scheme& s) {
  const QRectF band(0, kTitleTop, kWidth, kTitleBottom - kTitleTop);
  p.fillRect(band, verticalGradient(band.top(), band.bottom(), s.titleTop, s.titleBottom));
  p.setPen(QPen(QColor(255, 255, 255, 90), 1));
  p.drawLine(QPointF(0, kTitleTop + 1.5), QPointF(kWidth, kTitleTop + 1.5));
  p.setPen(QPen(QColor(0, 0, 0, 150), 1));
  p.drawLine(QPointF(0, kTitleTop + 0.5), QPointF(kWidth, kTitleTop + 0.5));
  p.setPen(QPen(QColor(0, 0, 0, 70), 1));
  p.drawLine(QPointF(0, kTitleBottom - 0.5), QPointF(kWidth, kTitleBottom - 0.5));
}

void paintControlStrip(QPainter& p) {
  const QRectF strip(0, kTitleBottom, kWidth, kHeight - kTitleBottom);
  p.fillRect(strip, verticalGradient(strip.top(), strip.bottom(), QColor(246, 247, 249),
                                     QColor(208, 213, 219)));
  p.setPen(QPen(QColor(255, 255, 255, 200), 1));
  p.drawLine(QPointF(0, kTitleBottom + 0.5), QPointF(kWidth, kTitleBottom + 0.5));

  // The key cap behind the letter.
  const QRectF cap(6.5, 86.5, 19, 21);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 45));
  p.drawRoundedRect(cap.translated(0, 1), 3.5, 3.5);
  p.setBrush(
      verticalGradient(cap.top(), cap.bottom(), QColor(255, 255, 255), QColor(222, 226, 231)));
  p.setPen(QPen(QColor(120, 128, 138), 1));
  p.drawRoundedRect(cap, 3.5, 3.5);

  // The fades' corner, set off by a hairline.
  p.setPen(QPen(QColor(0, 0, 0, 40), 1));
  p.drawLine(QPointF(126.5, 88), QPointF(126.5, 107));
  p.setPen(QPen(QColor(255, 255, 255, 160), 1));
  p.drawLine(QPointF(127.5, 88), QPointF(127.5, 107));
}

}  // namespace

void paintBackground(QPainter& p, Artwork background) {
  const Scheme s = schemeOf(background);
  const QPainterPath body = bodyPath();
  p.save();
  p.setClipPath(body);
  paintInstrumentStrip(p);
  paintWell(p, QRectF(8, 4, 65, 37), 1.5);  // the trace's screen
  paintWell(p, QRectF(79, 5, 35, 14), 2);   // the length
  paintWell(p, QRectF(127, 5, 35, 14), 2);  // the running time
  paintLamp(p, s);
  paintTitleBand(p, s);
  paintControlStrip(p);
  p.restore();

  p.setBrush(Qt::NoBrush);
  const bool targeted = background == Artwork::ImgDrag;
  p.setPen(QPen(s.outline, targeted ? 2.5 : 1));
  p.drawPath(targeted ? [] {
    QPainterPath inner;
    inner.addRoundedRect(QRectF(1.25, 1.25, kWidth - 2.5, kHeight - 2.5), kRadius, kRadius);
    return inner;
  }()
                      : body);
}

void paintPausedMark(QPainter& p) {
  // Amber hazard stripes over the title band, and the state lamp turned
  // amber: paused, not playing, at a glance. The stripes stay close in tone
  // so the white title reads over them.
  const QRectF band(0, kTitleTop + 1, kWidth, kTitleBottom - kTitleTop - 1);
  p.save();
  p.setClipRect(band);
  p.fillRect(band, verticalGradient(band.top(), band.bottom(), colours::kPausedAmber.darker(125),
                                    colours::kPausedAmber.darker(175)));
  QColor stripe(0, 0, 0, 45);
  p.setPen(Qt::NoPen);
  p.setBrush(stripe);
  for (qreal x = -band.height(); x < kWidth; x += 14) {
    QPolygonF s;
    s << QPointF(x, band.bottom()) << QPointF(x + 7, band.bottom())
      << QPointF(x + 7 + band.height(), band.top()) << QPointF(x + band.height(), band.top());
    p.drawPolygon(s);
  }
  p.restore();
  p.save();
  paintLamp(p, Scheme{{}, {}, {}, colours::kPausedAmber, true});
  p.restore();
}

void paintPreListenMark(QPainter& p) {
  // Headphone blue over the title band, a frame of it round the picture and
  // the state lamp in it: heard on the cue device, not on air, at a glance
  // across the wall (playing is green, paused amber, missing red).
  const QRectF band(0, kTitleTop + 1, kWidth, kTitleBottom - kTitleTop - 1);
  p.fillRect(band, verticalGradient(band.top(), band.bottom(), colours::kPreListenBlue.darker(110),
                                    colours::kPreListenBlue.darker(170)));
  p.save();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(colours::kPreListenBlue, 3));
  p.drawRoundedRect(QRectF(1.5, 1.5, kWidth - 3, kHeight - 3), 4, 4);
  paintLamp(p, Scheme{{}, {}, {}, colours::kPreListenBlue, true});
  p.restore();
}

void paintMissingMark(QPainter& p) {
  const QRectF band(1.5, kTitleTop + 1.5, kWidth - 3, kTitleBottom - kTitleTop - 3);
  p.save();
  p.setClipRect(band);
  p.setPen(QPen(QColor(220, 30, 30, 60), 3));
  for (qreal x = -band.height(); x < kWidth; x += 9) {
    p.drawLine(QPointF(x, band.bottom()), QPointF(x + band.height(), band.top()));
  }
  p.restore();
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kMissingRed, 2));
  p.drawRect(band.adjusted(0.5, 0.5, -0.5, -0.5));
  // The state lamp turns red as well.
  p.save();
  paintLamp(p, Scheme{{}, {}, {}, kMissingRed, true});
  p.restore();
}

void paintWarningSign(QPainter& p, const QRectF& box) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const qreal w = box.width();
  const qreal h = box.height();
  QPainterPath triangle;
  triangle.moveTo(box.left() + w / 2, box.top());
  triangle.lineTo(box.right(), box.bottom());
  triangle.lineTo(box.left(), box.bottom());
  triangle.closeSubpath();
  p.setPen(QPen(QColor(110, 0, 0), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(225, 30, 30));
  p.drawPath(triangle);
  // The exclamation mark, drawn rather than typed so no font can change it.
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  const qreal cx = box.left() + w / 2;
  const qreal bar = qMax<qreal>(1.4, w * 0.13);
  p.drawRoundedRect(QRectF(cx - bar / 2, box.top() + h * 0.32, bar, h * 0.36), bar / 2, bar / 2);
  p.drawEllipse(QPointF(cx, box.top() + h * 0.80), bar * 0.6, bar * 0.6);
  p.restore();
}

void paintEndWarningFrame(QPainter& p) {
  // A bright band on the cart's edge, with a darker line inside it so that
  // it stands off every band of every background, idle grey to playing green.
  p.save();
  p.setBrush(Qt::NoBrush);
  QColor glow = colours::kEndWarning;
  glow.setAlpha(110);
  p.setPen(QPen(glow, 2));
  p.drawRoundedRect(QRectF(4, 4, kWidth - 8, kHeight - 8), kRadius - 1, kRadius - 1);
  p.setPen(QPen(colours::kEndWarning, 3));
  p.drawRoundedRect(QRectF(1.5, 1.5, kWidth - 3, kHeight - 3), kRadius, kRadius);
  p.setPen(QPen(colours::kEndWarning.darker(170), 1));
  p.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 1, kHeight - 1), kRadius, kRadius);
  p.restore();
}

}  // namespace quillon::cart
