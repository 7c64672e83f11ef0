#include "cart/cartpicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "cart/cartgeometry.h"

namespace quillon::cart {

namespace {

qreal artScale(const QWidget& widget) {
  return widget.logicalDpiX() / static_cast<qreal>(geometry::kDesignDpi);
}

}  // namespace

CartPicture::CartPicture(const QString& objectName, Artwork art, int cells, QWidget* parent)
    : QWidget(parent), m_art(art), m_cells(std::max(cells, 1)) {
  setObjectName(objectName);
  setAttribute(Qt::WA_TranslucentBackground);
}

void CartPicture::setCell(int cell) {
  cell = std::clamp(cell, 0, m_cells - 1);
  if (cell == m_cell) return;
  m_cell = cell;
  update();
}

void CartPicture::setPointingHand() { setCursor(Qt::PointingHandCursor); }

void CartPicture::holdPointer(QWidget* confinement) {
  m_confinement = confinement;
  m_holding = true;
  grabMouse();
}

void CartPicture::letGoPointer() {
  if (!m_holding) return;
  m_holding = false;
  m_confinement = nullptr;
  releaseMouse();
}

QPointF CartPicture::confined(QPointF position) const {
  if (!m_holding || !m_confinement) return position;
  // Where the pointer would be had it been kept inside the area: the
  // platform cannot always confine the real pointer, the reports can be.
  const QPointF inArea = mapTo(m_confinement, position);
  const QPointF kept(std::clamp<qreal>(inArea.x(), 0, m_confinement->width() - 1),
                     std::clamp<qreal>(inArea.y(), 0, m_confinement->height() - 1));
  return mapFrom(m_confinement, kept);
}

void CartPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const qreal scale = artScale(*this);
  const QPixmap picture = artwork(m_art, scale, devicePixelRatioF());
  const qreal dpr = picture.devicePixelRatio();
  const qreal cellWidth = picture.width() / static_cast<qreal>(m_cells);
  const QRectF source(cellWidth * m_cell, 0, cellWidth, picture.height());
  p.drawPixmap(QRectF(0, 0, cellWidth / dpr, picture.height() / dpr), picture, source);
}

void CartPicture::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) m_pressed = true;
  event->accept();
  emit pressed(event->position());
}

void CartPicture::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  emit moved(confined(event->position()));
}

void CartPicture::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  const QPointF at = confined(event->position());
  // A click is the left button's, pressed and released over the picture.
  const bool leftUp = event->button() == Qt::LeftButton;
  const bool click = leftUp && m_pressed && rect().contains(event->position().toPoint());
  if (leftUp) m_pressed = false;
  emit released(at);
  if (click) m_clickModifiers = event->modifiers();
  if (click) emit clicked();
}

void CartPicture::enterEvent(QEnterEvent* event) {
  if (hasMouseTracking()) emit moved(event->position());
}

void CartPicture::leaveEvent(QEvent*) {
  if (!m_holding) emit left();
}

void CartPicture::hideEvent(QHideEvent* event) {
  // A hidden element must not keep the pointer from the rest of the program.
  letGoPointer();
  QWidget::hideEvent(event);
}

PositionTrack::PositionTrack(const QString& objectName, QWidget* parent)
    : CartPicture(objectName, Artwork::PositionGroove, 1, parent) {}

void PositionTrack::setElapsedWidth(int pixels) {
  pixels = std::max(pixels, 0);
  if (pixels == m_elapsed) return;
  // Only the stretch that changed, and the rounded end on either side.
  const int from = std::min(pixels, m_elapsed);
  const int to = std::max(pixels, m_elapsed);
  const int end = static_cast<int>(std::ceil(3 * artScale(*this)));
  m_elapsed = pixels;
  update(QRect(from - end, 0, to - from + 2 * end, height()));
}

void PositionTrack::paintEvent(QPaintEvent* event) {
  CartPicture::paintEvent(event);
  if (m_elapsed <= 0) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal scale = artScale(*this);
  const QRectF groove(0, 2.5 * scale, m_elapsed, 4 * scale);
  QColor lit = colours::kElapsedFill;
  p.setPen(Qt::NoPen);
  p.setBrush(lit);
  p.drawRoundedRect(groove, 2 * scale, 2 * scale);
  lit.setAlpha(255);
  p.setBrush(lit.lighter(150));
  p.drawRect(QRectF(groove.left() + scale, groove.top() + scale * 0.5,
                    std::max<qreal>(groove.width() - 2 * scale, 0), scale));
}

CartTrace::CartTrace(const QString& objectName, QWidget* parent) : QWidget(parent) {
  setObjectName(objectName);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CartTrace::setPoints(const std::vector<int>& points) {
  if (points == m_points) return;
  m_points = points;
  update();
}

void CartTrace::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, artwork(Artwork::TraceScreen, artScale(*this), devicePixelRatioF()));
  if (m_points.size() < 2) return;
  // 32 units span the height; the line keeps within the picture at both ends.
  const qreal unit = (height() - 1) / static_cast<qreal>(geometry::kTraceScaleHeight);
  const qreal column = artScale(*this);
  QPainterPath line;
  for (std::size_t i = 0; i < m_points.size(); ++i) {
    // On pixel centres, so a flat stretch draws as one crisp row.
    const QPointF at(0.5 + column * static_cast<qreal>(i), 0.5 + std::round(unit * m_points[i]));
    if (i == 0) {
      line.moveTo(at);
    } else {
      line.lineTo(at);
    }
  }
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::white, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(line);
}

}  // namespace quillon::cart
