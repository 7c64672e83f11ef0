#include "app/panels.h"

#include <QApplication>
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

void SplitterBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);  // white as designed until it is first dragged
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
