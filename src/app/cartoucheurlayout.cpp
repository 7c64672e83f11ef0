// Cartoucheur's geometry: the platform's resizes into the twips model, and
// the model onto the widgets.
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWindow>

#include "app/cartoucheur.h"
#include "app/panels.h"
#include "app/scrollmapping.h"
#include "common/twips.h"
#include "explorer/explorer.h"

namespace quillon::app {

namespace {

void place(QWidget* widget, const PixelRect& r) {
  widget->setGeometry(r.left, r.top, r.width, r.height);
}

}  // namespace

void Cartoucheur::applyGeometry() {
  const int dpiX = logicalDpiX();
  const int dpiY = logicalDpiY();
  for (int i = 0; i < kPanelCount; ++i) {
    const auto panel = static_cast<Panel>(i);
    if (QWidget* widget = m_controls.widgetOf(panel)) {
      place(widget, toPixels(m_geometry[panel], dpiX, dpiY));
    }
  }
  // The explorer lays its parts out by its own rule, from twips.
  const TwipsRect& explorerTwips = m_geometry[Panel::Explorer1];
  m_controls.explorer->setSizeTwips(explorerTwips.width, explorerTwips.height);
  m_controls.explorerTitle->setImageWidth(toPixels(m_geometry[Panel::Image20], dpiX, dpiY).width);
  m_controls.cartAreaTitle->setImageWidth(toPixels(m_geometry[Panel::Image3], dpiX, dpiY).width);
  for (std::size_t k = 0; k < m_cartouche1.size(); ++k) {
    place(m_cartouche1[k], toPixels(m_geometry.cart(static_cast<int>(k)), dpiX, dpiY));
  }
  applyScrollBar();
}

void Cartoucheur::applyScrollBar() {
  const ToolkitScrollBar bar = toToolkitScrollBar(m_geometry.VScroll1());
  QScrollBar* vscroll = m_controls.cartScrollBar;
  const QSignalBlocker quiet(vscroll);  // the model already holds these values
  vscroll->setRange(bar.minimum, bar.maximum);
  vscroll->setSingleStep(bar.singleStep);
  vscroll->setPageStep(bar.pageStep);
  vscroll->setValue(bar.value);
  vscroll->setEnabled(bar.maximum > bar.minimum);
}

void Cartoucheur::onScrollBarMoved(int toolkitValue) {
  m_geometry.onScroll(fromToolkitScrollValue(toolkitValue));
  place(m_controls.cartCanvas, toPixels(m_geometry[Panel::Picture5], logicalDpiX(), logicalDpiY()));
}

void Cartoucheur::connectSplitter() {
  SplitterBar* bar = m_controls.splitter;
  const auto showColour = [this, bar] {
    switch (m_splitter.colour()) {
      case PanelSplitter::Colour::White:
        bar->setColour(Qt::white);
        break;
      case PanelSplitter::Colour::Black:
        bar->setColour(Qt::black);
        break;
      case PanelSplitter::Colour::ButtonFace:
        bar->setColour(palette().color(QPalette::Button));
        break;
    }
  };
  bar->setHandlers({
      [this, showColour] {
        m_splitter.press();
        showColour();
      },
      [this, bar](double x) {
        // Only the bar moves while it is dragged.
        m_splitter.move(static_cast<float>(pixelsToTwips(x, logicalDpiX())));
        place(bar, toPixels(m_geometry[Panel::Picture4], logicalDpiX(), logicalDpiY()));
      },
      [this, showColour] {
        m_splitter.release();
        showColour();
        applyGeometry();
        buildStudioClock();
      },
  });
}

void Cartoucheur::resizeFromPlatform(QSize clientPixels) {
  float width = m_requestedWidth;
  float height = m_requestedHeight;
  if (clientPixels != m_requestedPixels) {
    width = static_cast<float>(pixelsToTwips(clientPixels.width(), logicalDpiX()));
    height = static_cast<float>(pixelsToTwips(clientPixels.height(), logicalDpiY()));
  }
  m_geometry.resizeWindow(width, height);
  applyGeometry();
}

void Cartoucheur::updateMinimumSize() {
  const PixelSize outer =
      minimumOuterPixels(WindowGeometry::kMinimumOuterWidth, WindowGeometry::kMinimumOuterHeight,
                         logicalDpiX(), logicalDpiY());
  FrameMargins frame;
  const QWindow* window = windowHandle();
  if (window != nullptr && isVisible()) {
    const QMargins m = window->frameMargins();
    frame = {m.left(), m.top(), m.right(), m.bottom()};
  } else {
    // Until the frame is known: the design's own, which makes the initial
    // client area the smallest.
    frame = {0, 0, outer.width - twipsToPixels(WindowGeometry::kInitialWidth, logicalDpiX()),
             outer.height - twipsToPixels(WindowGeometry::kInitialHeight, logicalDpiY())};
  }
  const PixelSize client = minimumClientPixels(outer, frame);
  if (minimumSize() != QSize(client.width, client.height)) {
    setMinimumSize(client.width, client.height);
  }
}

void Cartoucheur::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  resizeFromPlatform(event->size());
  updateMinimumSize();
}

void Cartoucheur::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  updateMinimumSize();  // the frame may be known now
}

void Cartoucheur::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  updateMinimumSize();
}

}  // namespace quillon::app
