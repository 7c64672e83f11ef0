#include "app/cartstandin.h"

#include <QPainter>
#include <QPainterPath>

#include "app/studiolook.h"

namespace quillon::app {

CartStandIn::CartStandIn(QWidget* canvas) : QWidget(canvas) {
  setObjectName("Cartouche1");
  setAttribute(Qt::WA_OpaquePaintEvent);
  hide();
}

void CartStandIn::SetMyLetter(const QString& letter) {
  m_letter = letter;
  update();
}

void CartStandIn::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), QColor(18, 20, 23));

  const QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient face(0, 0, 0, height());
  face.setColorAt(0, QColor(44, 48, 56));
  face.setColorAt(1, QColor(32, 35, 41));
  p.setPen(QPen(QColor(62, 67, 77), 1));
  p.setBrush(face);
  p.drawRoundedRect(body, 5, 5);

  const QRectF badge(8, 8, 30, 30);
  p.setPen(Qt::NoPen);
  p.setBrush(look::kAccent);
  p.drawRoundedRect(badge, 4, 4);
  p.setPen(QColor(24, 24, 24));
  p.setFont(look::uiFont(14, true));
  p.drawText(badge, Qt::AlignCenter, m_letter);

  p.setPen(look::kTextDim);
  p.setFont(look::uiFont(8.5));
  p.drawText(QRectF(46, 8, width() - 54, 30), Qt::AlignLeft | Qt::AlignVCenter, "Empty");
  p.setPen(QColor(52, 56, 64));
  p.drawLine(QPointF(8, height() - 22.5), QPointF(width() - 8, height() - 22.5));
}

CartWidget* createCart(QWidget* canvas, audio::Engine& /*engine*/) {
  return new CartStandIn(canvas);
}

}  // namespace quillon::app
