#include "app/panelsplitter.h"

namespace quillon::app {

namespace {

// Cart width plus this is the narrowest cart area the drag leaves: the
// canvas inset (360) less the grid's margin, so one cart fits per row.
constexpr float kOneCartAllowance = 90 + 360;

}  // namespace

float PanelSplitter::upperLimit() const {
  const TwipsRect& viewport = m_geometry[Panel::Picture1];
  return viewport.left + viewport.width - (m_geometry.cart(0).width + kOneCartAllowance);
}

void PanelSplitter::press() {
  m_colour = Colour::Black;
  m_dragging = true;
}

void PanelSplitter::move(float x) {
  if (!m_dragging || x == 0) return;
  const float upper = upperLimit();
  const float wanted = m_geometry[Panel::Picture4].left + x;
  // The upper limit first: on a window too narrow for both, the bar goes to
  // the upper one.
  float left = wanted;
  if (wanted >= upper) {
    left = upper;
  } else if (wanted <= kLowerLimit) {
    left = kLowerLimit;
  }
  m_geometry.setLeft(Panel::Picture4, left);
}

void PanelSplitter::release() {
  if (!m_dragging) return;
  m_colour = Colour::ButtonFace;
  m_dragging = false;
  if (m_geometry[Panel::Picture4].left <= kLowerLimit) {
    m_geometry.setLeft(Panel::Picture4, kLowerLimit);
  }
  const float l = m_geometry[Panel::Picture4].left;
  m_geometry.setWidth(Panel::Explorer1, l);
  m_geometry.setWidth(Panel::Picture2, l);
  m_geometry.setWidth(Panel::BarExplorer, l);
  const float viewportLeft = l + m_geometry[Panel::Picture4].width + kViewportGap;
  m_geometry.setLeft(Panel::Picture1, viewportLeft);
  m_geometry.setLeft(Panel::Picture3, viewportLeft);
  m_geometry.setWidth(Panel::Picture1, m_geometry.windowWidth() - viewportLeft);
  m_geometry.setWidth(Panel::Picture3, m_geometry[Panel::Picture1].width);
  // The new width changed the canvas's height: without a new range the last
  // rows of a narrower grid could not be scrolled to.
  m_geometry.setTop(Panel::Picture5, 0);
  m_geometry.SetupScrollBar();
}

}  // namespace quillon::app
