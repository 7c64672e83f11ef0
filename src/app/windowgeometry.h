// The main window's panels and carts in twips: the design geometry, the
// resize handlers of the window, the viewport and the two title bars, the
// cart grid's flow layout and the scroll bar's range. Plain C++: the window
// applies what this computes and never reads geometry back from pixels, so
// the exact-fit numbers hold at every dpi. UI thread.
#pragma once

#include <array>

#include "cart/cartgeometry.h"
#include "common/cartset.h"
#include "common/twipsrect.h"

namespace quillon::app {

enum class Panel {
  Toolbar1,           // command toolbar along the top edge
  Picture6,           // favourites inset, in Toolbar1
  FavoriteCaption,    // "Favorite :", in Picture6
  ComboListePalette,  // favourites list, in Picture6
  Command1,           // "Add", in Picture6
  Command2,           // "Clear", in Picture6
  BarExplorer,        // title bar of the left column
  Image20,            // its background picture, in BarExplorer
  Explorer1,          // file explorer panel
  Picture2,           // studio clock panel
  Picture4,           // splitter bar
  Picture3,           // title bar of the cart area
  Image3,             // its background picture, in Picture3
  Label54,            // "- Device :", in Picture3
  Combo4,             // output device list, in Picture3
  Picture1,           // cart viewport
  Picture5,           // cart canvas, in Picture1
  VScroll1,           // the viewport's scroll bar, in Picture1
  StatusBar1,         // status bar along the bottom edge
};
inline constexpr int kPanelCount = static_cast<int>(Panel::StatusBar1) + 1;

// VScroll1's properties. Its range runs from 0 (top) down to a negative
// number (bottom), so that the value is the canvas's top.
struct ScrollBarState {
  int value = 0;
  int minimum = 0;
  int maximum = 0;
  int smallChange = 1;
  int largeChange = 1;

  bool operator==(const ScrollBarState&) const = default;
};

class WindowGeometry {
 public:
  static constexpr float kInitialWidth = 12060;  // client area
  static constexpr float kInitialHeight = 8325;
  static constexpr float kMinimumOuterWidth = 12180;  // frame and caption included
  static constexpr float kMinimumOuterHeight = 8730;
  static constexpr float kToolbarHeight = 600;
  static constexpr float kStatusBarHeight = 480;
  static constexpr float kCartWidth = cart::geometry::kCartWidth;
  static constexpr float kCartHeight = cart::geometry::kCartHeight;
  static constexpr int kCartCount = quillon::kCartCount;
  static constexpr int kScrollStep = 600;  // an arrow click and a trough click

  // The design geometry, before the first resize.
  WindowGeometry();

  const TwipsRect& operator[](Panel panel) const { return m_panels[index(panel)]; }
  const TwipsRect& cart(int index) const { return m_carts[static_cast<std::size_t>(index)]; }
  const ScrollBarState& VScroll1() const { return m_vscroll1; }
  float windowWidth() const { return m_windowWidth; }
  float windowHeight() const { return m_windowHeight; }

  // The platform resized the window's inner area (toolbar and status bar
  // included): the bars follow the edges, then the window's resize handler
  // runs.
  void resizeWindow(float innerWidth, float innerHeight);

  // Panel properties, as the controls take them: a change of Picture1's,
  // Picture3's or BarExplorer's size runs that panel's resize handler within
  // the call; a negative size is refused (false) and changes nothing.
  bool setLeft(Panel panel, float left);
  bool setTop(Panel panel, float top);
  bool setWidth(Panel panel, float width);
  bool setHeight(Panel panel, float height);
  // Cart 0's size, which every cart copies.
  void setCartSize(float width, float height);

  // Lays carts 0 to 25 out on the canvas and sets the canvas's height.
  void ArrangeCarts();
  // Puts the bar back at the top and sets its range for the canvas.
  void SetupScrollBar();
  // The bar moved (change or scroll): `value` is within its range.
  void onScroll(int value);

 private:
  static std::size_t index(Panel panel) { return static_cast<std::size_t>(panel); }
  TwipsRect& at(Panel panel) { return m_panels[index(panel)]; }
  bool setSize(Panel panel, float TwipsRect::*side, float value);
  void sizeChanged(Panel panel);
  void onWindowResize();
  void onViewportResize();
  void onCartAreaTitleResize();
  void onLeftColumnTitleResize();

  std::array<TwipsRect, kPanelCount> m_panels{};
  std::array<TwipsRect, kCartCount> m_carts{};
  ScrollBarState m_vscroll1;
  float m_windowWidth = kInitialWidth;
  float m_windowHeight = kInitialHeight;
};

}  // namespace quillon::app
