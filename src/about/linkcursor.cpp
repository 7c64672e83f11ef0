#include "about/linkcursor.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace quillon::about {

QCursor linkCursor() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  // A pointing finger over a small envelope-free palm: simple and legible.
  QPainterPath hand;
  hand.addRoundedRect(QRectF(9, 2, 6, 16), 3, 3);       // index finger
  hand.addRoundedRect(QRectF(8, 13, 15, 14), 4, 4);     // palm
  hand.addRoundedRect(QRectF(15, 10, 5, 8), 2.5, 2.5);  // middle knuckle
  hand.addRoundedRect(QRectF(19, 11, 5, 8), 2.5, 2.5);  // ring knuckle
  hand.addRoundedRect(QRectF(4, 15, 6, 5), 2.5, 2.5);   // thumb
  hand.setFillRule(Qt::WindingFill);
  p.setPen(QPen(Qt::black, 1.2));
  p.setBrush(QColor(255, 214, 0));
  p.drawPath(hand.simplified());
  return QCursor(pixmap, 12, 2);  // hot spot at the fingertip
}

}  // namespace quillon::about
