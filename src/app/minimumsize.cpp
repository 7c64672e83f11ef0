#include "app/minimumsize.h"

#include <algorithm>
#include <cstdint>

#include "common/rounding.h"
#include "common/twips.h"

namespace quillon::app {

namespace {

int minimumPixels(float twips, int logicalDpi) {
  const std::int64_t whole = roundHalfEven(twips);
  const std::int64_t twipsPerPixel =
      std::max<std::int64_t>(1, roundHalfEven(pixelsToTwips(1, logicalDpi)));
  return static_cast<int>(whole / twipsPerPixel);
}

}  // namespace

PixelSize minimumOuterPixels(float widthTwips, float heightTwips, int logicalDpiX,
                             int logicalDpiY) {
  return {minimumPixels(widthTwips, logicalDpiX), minimumPixels(heightTwips, logicalDpiY)};
}

PixelSize minimumClientPixels(PixelSize outer, const FrameMargins& frame) {
  return {std::max(0, outer.width - frame.left - frame.right),
          std::max(0, outer.height - frame.top - frame.bottom)};
}

}  // namespace quillon::app
