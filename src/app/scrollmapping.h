// VScroll1 on a toolkit scroll bar. The window's bar runs from 0 at the top
// down to a negative number at the bottom, its value being the canvas's top;
// a toolkit bar runs upward from its minimum. The toolkit bar shows the
// distance scrolled, the negated value. A canvas lower than the viewport
// gets the range 0 to 1, in which no move does anything: the toolkit bar
// then has nothing to scroll.
#pragma once

#include "app/windowgeometry.h"

namespace quillon::app {

struct ToolkitScrollBar {
  int minimum = 0;
  int maximum = 0;
  int value = 0;
  int singleStep = 1;
  int pageStep = 1;

  bool operator==(const ToolkitScrollBar&) const = default;
};

ToolkitScrollBar toToolkitScrollBar(const ScrollBarState& bar);
// The window's value for a toolkit bar's value.
int fromToolkitScrollValue(int toolkitValue);

}  // namespace quillon::app
