#include "app/twipsrect.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

TEST(ToPixels, FifteenTwipsAPixelAtNinetySixDpi) {
  EXPECT_EQ(toPixels({3901, 1050, 8159, 6795}, 96, 96), (PixelRect{260, 70, 544, 453}));
  EXPECT_EQ(toPixels({0, 0, 12060, 8325}, 96, 96), (PixelRect{0, 0, 804, 555}));
  EXPECT_EQ(toPixels({0, 0, 12060, 8325}, 120, 120), (PixelRect{0, 0, 1005, 694}));
}

TEST(ToPixels, PanelsThatMeetInTwipsMeetInPixels) {
  // 1000 twips is 66.67 pixels: converting sizes alone would leave a gap.
  const TwipsRect a{0, 0, 1000, 400};
  const TwipsRect b{1000, 0, 1000, 400};
  for (int dpi : {96, 120, 144}) {
    const PixelRect pa = toPixels(a, dpi, dpi);
    const PixelRect pb = toPixels(b, dpi, dpi);
    EXPECT_EQ(pa.left + pa.width, pb.left) << dpi;
  }
}

TEST(ToPixels, HalvesGoToTheEvenNeighbour) {
  // 337.5 twips is 22.5 pixels, 352.5 twips 23.5 pixels at 96 dpi.
  EXPECT_EQ(toPixels({337.5f, 352.5f, 0, 0}, 96, 96), (PixelRect{22, 24, 0, 0}));
  // A canvas scrolled up is above its viewport.
  EXPECT_EQ(toPixels({0, -16050, 7799, 22845}, 96, 96).top, -1070);
}

}  // namespace
}  // namespace quillon::app
