#include "app/twipsrect.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

TEST(ToPixels, FifteenTwipsAPixelAtNinetySixDpiAndHalvesToTheEvenNeighbour) {
  EXPECT_EQ(toPixels({3901, 1050, 8159, 6795}, 96, 96), (PixelRect{260, 70, 544, 453}));
  EXPECT_EQ(toPixels({0, 0, 12060, 8325}, 120, 120), (PixelRect{0, 0, 1005, 694}));
  // 337.5 twips is 22.5 pixels, 352.5 twips 23.5 pixels at 96 dpi.
  EXPECT_EQ(toPixels({337.5f, 352.5f, 0, 0}, 96, 96), (PixelRect{22, 24, 0, 0}));
  EXPECT_EQ(toPixels({0, -16050, 7799, 22845}, 96, 96).top, -1070);  // a canvas scrolled up
}

TEST(ToPixels, PanelsThatMeetInTwipsMeetInPixels) {
  // 1000 twips is 66.67 pixels: converting sizes alone would leave a gap.
  for (int dpi : {96, 120, 144}) {
    const PixelRect a = toPixels({0, 0, 1000, 400}, dpi, dpi);
    EXPECT_EQ(a.left + a.width, toPixels({1000, 0, 1000, 400}, dpi, dpi).left) << dpi;
  }
}

}  // namespace
}  // namespace quillon::app
