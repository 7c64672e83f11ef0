#include "clock/ledartwork.h"

#include <QPainter>
#include <QRadialGradient>

namespace quillon::clock {

QPixmap drawLed(const QColor& lit, int size) {
  // Drawn at the screen's scale so the LED stays crisp on high-dpi screens.
  QPixmap pixmap(size * 2, size * 2);
  pixmap.setDevicePixelRatio(2.0);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient glow(size * 0.38, size * 0.35, size * 0.6);
  glow.setColorAt(0.0, lit.lighter(170));
  glow.setColorAt(0.45, lit);
  glow.setColorAt(1.0, lit.darker(220));
  p.setBrush(glow);
  p.setPen(QPen(QColor(20, 20, 20), 0.8));
  p.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
  return pixmap;
}

}  // namespace quillon::clock
