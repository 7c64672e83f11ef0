// Twips (1/1440 inch) and pixels. Every view converts through these two, with
// its own logicalDpiX(): Qt keeps the logical dpi at 96 on high-dpi screens
// and scales through the device pixel ratio, so a view stays right there too.
#pragma once

#include "common/rounding.h"

namespace quillon {

constexpr double kTwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, int logicalDpi) {
  return static_cast<int>(roundHalfEven(twips * logicalDpi / kTwipsPerInch));
}

inline double pixelsToTwips(double pixels, int logicalDpi) {
  return logicalDpi > 0 ? pixels * kTwipsPerInch / logicalDpi : 0.0;
}

}  // namespace quillon
