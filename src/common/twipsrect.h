// A panel's place in twips, relative to its container, in single precision
// as the layouts compute it, and the same place in pixels. A window turns
// its twips into pixels with toPixels and nowhere else.
#pragma once

#include "common/twips.h"

namespace quillon {

struct TwipsRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;

  float right() const { return left + width; }
  float bottom() const { return top + height; }
  bool operator==(const TwipsRect&) const = default;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  bool operator==(const PixelRect&) const = default;
};

// Converts the edges, not the sizes, so that panels that meet in twips meet
// in pixels too, with no gap or overlap from rounding each size alone.
inline PixelRect toPixels(const TwipsRect& rect, int logicalDpiX, int logicalDpiY) {
  const int left = twipsToPixels(rect.left, logicalDpiX);
  const int top = twipsToPixels(rect.top, logicalDpiY);
  const int right = twipsToPixels(rect.right(), logicalDpiX);
  const int bottom = twipsToPixels(rect.bottom(), logicalDpiY);
  return {left, top, right - left, bottom - top};
}

}  // namespace quillon
