// Picture4's drag: the border between the left column (explorer and clock)
// and the cart area. While the button is held only the bar moves, within its
// limits; the release lays the panels out again around the bar's place.
// Plain C++ over WindowGeometry, in twips. UI thread.
#pragma once

#include "app/windowgeometry.h"

namespace quillon::app {

class PanelSplitter {
 public:
  static constexpr float kLowerLimit = 3375;  // the left column's narrowest
  static constexpr float kViewportGap = 20;   // between the bar and the viewport

  enum class Colour {
    White,       // as designed, until the first drag
    Black,       // while dragged
    ButtonFace,  // after each release
  };

  explicit PanelSplitter(WindowGeometry& geometry) : m_geometry(geometry) {}

  bool SplitterDragging() const { return m_dragging; }
  Colour colour() const { return m_colour; }

  // Any button: the bar turns black and follows the pointer.
  void press();
  // `x` is the pointer's position relative to the bar's left edge, in
  // twips. Moves the bar's left edge to the pointer, within the limits, and
  // nothing else. Ignored without a press, and when x is 0.
  void move(float x);
  // Gives the left column the bar's place and the cart area the rest of the
  // window, and puts the canvas and its scroll bar back at the top with a
  // range for the new canvas height. The caller rebuilds the clock ring for
  // the clock panel's new width. Ignored without a press.
  void release();

  // The bar's left edge may not pass this while dragged: the viewport's
  // right edge less one cart and its margins.
  float upperLimit() const;

 private:
  WindowGeometry& m_geometry;
  bool m_dragging = false;
  Colour m_colour = Colour::White;
};

}  // namespace quillon::app
