// The smallest window. The platform's rule is given for the outer window,
// frame and caption included, in twips; the toolkit's minimum applies to the
// client area, so the frame comes off once it is known.
#pragma once

namespace quillon::app {

struct PixelSize {
  int width = 0;
  int height = 0;

  bool operator==(const PixelSize&) const = default;
};

struct FrameMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// Whole twips divided by whole twips per pixel, the remainder dropped:
// 12180 x 8730 twips give 812 x 582 pixels at 96 dpi, 1015 x 727 at 120.
PixelSize minimumOuterPixels(float widthTwips, float heightTwips, int logicalDpiX, int logicalDpiY);

// The client area of the smallest outer window, never below 0.
PixelSize minimumClientPixels(PixelSize outer, const FrameMargins& frame);

}  // namespace quillon::app
