#include "app/twipsrect.h"

#include "common/twips.h"

namespace quillon::app {

PixelRect toPixels(const TwipsRect& rect, int logicalDpiX, int logicalDpiY) {
  const int left = twipsToPixels(rect.left, logicalDpiX);
  const int top = twipsToPixels(rect.top, logicalDpiY);
  const int right = twipsToPixels(rect.right(), logicalDpiX);
  const int bottom = twipsToPixels(rect.bottom(), logicalDpiY);
  return {left, top, right - left, bottom - top};
}

}  // namespace quillon::app
