#include "app/panels.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "app/artwork.h"
#include "app/studiolook.h"
#include "common/twips.h"

namespace quillon::app {

namespace {
constexpr float kCaptionShadowOffsetTwips = 15;
}

TitleBar::TitleBar(const QString& caption, float captionLeftTwips, float captionTopTwips,
                   QWidget* parent)
    : QWidget(parent),
      m_caption(caption),
      m_captionLeft(captionLeftTwips),
      m_captionTop(captionTopTwips) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFont(look::uiFont(9, true));
}

void TitleBar::setImageWidth(int pixels) {
  if (pixels == m_imageWidth) return;
  m_imageWidth = pixels;
  update();
}

void TitleBar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (m_image.height() != height()) m_image = artwork::titleBarBackground(height());
}

void TitleBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), look::kWindow);
  if (!m_image.isNull()) p.drawPixmap(QRect(0, 0, m_imageWidth, height()), m_image);

  const int dpiX = logicalDpiX();
  const int dpiY = logicalDpiY();
  const auto textAt = [&](float left, float top, const QColor& colour) {
    p.setPen(colour);
    const QPoint at(twipsToPixels(left, dpiX), twipsToPixels(top, dpiY));
    p.drawText(QRect(at, QSize(width(), height())), Qt::AlignLeft | Qt::AlignTop, m_caption);
  };
  textAt(m_captionLeft - kCaptionShadowOffsetTwips, m_captionTop - kCaptionShadowOffsetTwips,
         look::kCaptionShadow);
  textAt(m_captionLeft, m_captionTop, Qt::white);
}

SplitterBar::SplitterBar(QWidget* parent) : QWidget(parent) {
  setCursor(Qt::SizeHorCursor);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SplitterBar::setColour(const QColor& colour) {
  if (colour == m_colour) return;
  m_colour = colour;
  update();
}

void SplitterBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), m_colour);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (m_handlers.pressed) m_handlers.pressed();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  // Moves come only while a button is held (no mouse tracking).
  if (m_handlers.moved) m_handlers.moved(event->position().x());
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  // Any button drags the bar; the release of the last one held ends it.
  if (event->buttons() == Qt::NoButton && m_handlers.released) m_handlers.released();
}

CartViewport::CartViewport(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CartViewport::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(16, 18, 21));
}

void CartViewport::wheelEvent(QWheelEvent* event) {
  if (m_scrollBar == nullptr || !m_scrollBar->isEnabled()) {
    QWidget::wheelEvent(event);
    return;
  }
  QApplication::sendEvent(m_scrollBar, event);
}

InsetPanel::InsetPanel(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void InsetPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), look::kPanel);
  p.setPen(look::kEdgeDark);
  p.drawLine(0, 0, width() - 1, 0);
  p.drawLine(0, 0, 0, height() - 1);
  p.setPen(QColor(44, 48, 55));
  p.drawLine(1, height() - 1, width() - 1, height() - 1);
  p.drawLine(width() - 1, 1, width() - 1, height() - 1);
}

}  // namespace quillon::app
