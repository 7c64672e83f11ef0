#include "app/windowgeometry.h"

#include <algorithm>

#include "common/rounding.h"

namespace quillon::app {

namespace {

// The grid's margins: before every cart, above the first row, between rows
// (added to the cart's height) and below the last row.
constexpr float kCartMargin = 30;
constexpr float kRowGap = 60;
constexpr float kBottomMargin = 60;

// What the window's resize handler adds back for the toolbar's height.
constexpr float kToolbarAllowance = 600;
constexpr float kFavoritesRightMargin = 100;
constexpr float kCanvasInset = 360;        // the viewport's width less the canvas's
constexpr float kScrollBarRightGap = 120;  // between the bar and the viewport's edge
constexpr float kScrollBarHeightGap = 80;
constexpr float kDeviceListRightGap = 150;

}  // namespace

WindowGeometry::WindowGeometry() {
  at(Panel::Toolbar1) = {0, 0, kInitialWidth, kToolbarHeight};
  at(Panel::Picture6) = {6600, 0, 5415, 615};
  at(Panel::FavoriteCaption) = {0, 180, 870, 255};
  at(Panel::ComboListePalette) = {900, 120, 2880, 375};
  at(Panel::Command1) = {3840, 105, 750, 405};
  at(Panel::Command2) = {4635, 105, 750, 405};
  at(Panel::BarExplorer) = {0, 630, 3855, 400};
  at(Panel::Image20) = {0, 0, 3855, 400};
  at(Panel::Explorer1) = {0, 1050, 3855, 3675};
  at(Panel::Picture2) = {0, 4710, 3855, 3135};
  at(Panel::Picture4) = {3852, 600, 40, 9015};
  at(Panel::Picture3) = {3901, 630, 8175, 400};
  at(Panel::Image3) = {0, 0, 8175, 400};
  at(Panel::Combo4) = {4425, 45, 3600, 315};
  at(Panel::Label54) = {3375, 75, 1050, 255};
  at(Panel::Picture1) = {3901, 1050, 8175, 6790};
  at(Panel::Picture5) = {0, 0, 7815, 6495};
  at(Panel::VScroll1) = {7850, 0, 255, 6735};
  at(Panel::StatusBar1) = {0, kInitialHeight - kStatusBarHeight, kInitialWidth, kStatusBarHeight};
  // Cart 0 as designed; the others are created as its copies.
  m_carts.fill({kCartMargin, kCartMargin, kCartWidth, kCartHeight});
}

bool WindowGeometry::setLeft(Panel panel, float left) {
  at(panel).left = left;
  return true;
}

bool WindowGeometry::setTop(Panel panel, float top) {
  at(panel).top = top;
  return true;
}

bool WindowGeometry::setWidth(Panel panel, float width) {
  return setSize(panel, &TwipsRect::width, width);
}

bool WindowGeometry::setHeight(Panel panel, float height) {
  return setSize(panel, &TwipsRect::height, height);
}

bool WindowGeometry::setSize(Panel panel, float TwipsRect::*side, float value) {
  if (value < 0) return false;
  float& current = at(panel).*side;
  if (current == value) return true;
  current = value;
  sizeChanged(panel);
  return true;
}

void WindowGeometry::setCartSize(float width, float height) {
  for (TwipsRect& cart : m_carts) {
    cart.width = width;
    cart.height = height;
  }
}

void WindowGeometry::sizeChanged(Panel panel) {
  switch (panel) {
    case Panel::Picture1:
      onViewportResize();
      break;
    case Panel::Picture3:
      onCartAreaTitleResize();
      break;
    case Panel::BarExplorer:
      onLeftColumnTitleResize();
      break;
    default:
      break;
  }
}

void WindowGeometry::resizeWindow(float innerWidth, float innerHeight) {
  m_windowWidth = innerWidth;
  m_windowHeight = innerHeight;
  // The two bars are aligned to the edges: the platform moves them first.
  at(Panel::Toolbar1).width = innerWidth;
  TwipsRect& status = at(Panel::StatusBar1);
  status.width = innerWidth;
  status.top = innerHeight - status.height;
  onWindowResize();
}

void WindowGeometry::onWindowResize() {
  const float sw = m_windowWidth;
  const float sh = m_windowHeight;
  const float tb = at(Panel::Toolbar1).height;
  const float sb = at(Panel::StatusBar1).height;
  const TwipsRect& clock = at(Panel::Picture2);
  const TwipsRect& viewport = at(Panel::Picture1);

  // Each step goes on whether or not the one before was refused.
  setTop(Panel::Picture2, sh - clock.height - tb + kToolbarAllowance - sb);
  setHeight(Panel::Picture1, sh - viewport.top - sb);
  setWidth(Panel::Picture1, sw - viewport.left);
  setWidth(Panel::Picture3, viewport.width);
  setHeight(Panel::Explorer1, sh - at(Panel::Explorer1).top - clock.height - sb);
  setLeft(Panel::Picture6, sw - at(Panel::Picture6).width - kFavoritesRightMargin);
  setHeight(Panel::Picture4, clock.top + clock.height);
  setTop(Panel::Picture5, 0);
  SetupScrollBar();
}

void WindowGeometry::onViewportResize() {
  const TwipsRect& viewport = at(Panel::Picture1);
  setWidth(Panel::Picture5, viewport.width - kCanvasInset);
  setLeft(Panel::VScroll1, viewport.width - at(Panel::VScroll1).width - kScrollBarRightGap);
  setHeight(Panel::VScroll1, viewport.height - kScrollBarHeightGap);
  ArrangeCarts();
}

void WindowGeometry::onCartAreaTitleResize() {
  const float width = at(Panel::Picture3).width;
  setWidth(Panel::Image3, width);
  setLeft(Panel::Combo4, width - at(Panel::Combo4).width - kDeviceListRightGap);
  setLeft(Panel::Label54, at(Panel::Combo4).left - at(Panel::Label54).width);
}

void WindowGeometry::onLeftColumnTitleResize() {
  setWidth(Panel::Image20, at(Panel::BarExplorer).width);
}

void WindowGeometry::ArrangeCarts() {
  const float canvasWidth = at(Panel::Picture5).width;
  const float w = m_carts[0].width;
  const float h = m_carts[0].height;
  std::int32_t x = 0;
  std::int32_t y = static_cast<std::int32_t>(kCartMargin);
  for (TwipsRect& cart : m_carts) {
    // Strictly greater: a cart that ends exactly at the edge still fits.
    if (static_cast<double>(x) + kCartMargin + w > canvasWidth) {
      x = 0;
      y = static_cast<std::int32_t>(roundHalfEven(static_cast<double>(y) + h + kRowGap));
    }
    cart.left = static_cast<float>(x) + kCartMargin;
    x = static_cast<std::int32_t>(roundHalfEven(static_cast<double>(x) + kCartMargin + w));
    cart.top = static_cast<float>(y);
  }
  setHeight(Panel::Picture5, h + static_cast<float>(y) + kBottomMargin);
}

void WindowGeometry::SetupScrollBar() {
  const int before = m_vscroll1.value;
  m_vscroll1.value = 0;
  m_vscroll1.minimum = 0;
  const float canvasHeight = at(Panel::Picture5).height;
  const float viewportHeight = at(Panel::Picture1).height;
  // The range is a 32-bit number here, so a canvas far higher than the
  // viewport (one cart per row) is still reachable to its last cart.
  m_vscroll1.maximum = canvasHeight < viewportHeight
                           ? 1
                           : static_cast<int>(roundHalfEven(viewportHeight - canvasHeight));
  m_vscroll1.smallChange = kScrollStep;
  m_vscroll1.largeChange = kScrollStep;
  if (before != 0) onScroll(0);
}

void WindowGeometry::onScroll(int value) {
  const int low = std::min(m_vscroll1.minimum, m_vscroll1.maximum);
  const int high = std::max(m_vscroll1.minimum, m_vscroll1.maximum);
  m_vscroll1.value = std::clamp(value, low, high);
  if (at(Panel::Picture5).height > at(Panel::Picture1).height) {
    setTop(Panel::Picture5, static_cast<float>(m_vscroll1.value));
  }
}

}  // namespace quillon::app
