// The window's twips as the toolkit takes them: rectangles in pixels, the
// scroll bar's range, and the smallest window at each screen density.
#include <gtest/gtest.h>

#include "app/minimumsize.h"
#include "app/scrollmapping.h"
#include "common/twipsrect.h"

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

// The toolkit's bar runs from 0 up to the distance that can be scrolled.
TEST(ScrollMapping, TheToolkitBarShowsTheDistanceScrolled) {
  EXPECT_EQ(toToolkitScrollBar({0, 0, -16050, 600, 600}),
            (ToolkitScrollBar{0, 16050, 0, 600, 600}));
  EXPECT_EQ(toToolkitScrollBar({-600, 0, -16050, 600, 600}).value, 600);
  EXPECT_EQ(fromToolkitScrollValue(16050), -16050);
  // Beyond 16 bits, whole.
  EXPECT_EQ(toToolkitScrollBar({-38865, 0, -38865, 600, 600}).value, 38865);
  // A canvas lower than its viewport (range 0 to 1): nothing to scroll.
  EXPECT_EQ(toToolkitScrollBar({1, 0, 1, 600, 600}), (ToolkitScrollBar{0, 0, 0, 600, 600}));
}

struct DpiCase {
  int dpi;
  PixelSize outer;
};

class MinimumOuter : public testing::TestWithParam<DpiCase> {};

TEST_P(MinimumOuter, WholeTwipsByWholeTwipsPerPixelRemainderDropped) {
  EXPECT_EQ(minimumOuterPixels(12180, 8730, GetParam().dpi, GetParam().dpi), GetParam().outer);
}

// 96 dpi: 15 twips a pixel; 120: 12 (8730 / 12 = 727.5 gives 727, where
// rounding would give 728); 144: 10; 192: 7.5 rounds to 8.
INSTANTIATE_TEST_SUITE_P(Dpi, MinimumOuter,
                         testing::Values(DpiCase{96, {812, 582}}, DpiCase{120, {1015, 727}},
                                         DpiCase{144, {1218, 873}}, DpiCase{192, {1522, 1091}}));

TEST(MinimumClient, TheFrameComesOffTheOuterSize) {
  EXPECT_EQ(minimumClientPixels({812, 582}, {4, 27, 4, 4}), (PixelSize{804, 551}));
  EXPECT_EQ(minimumClientPixels({812, 582}, {}), (PixelSize{812, 582}));
  EXPECT_EQ(minimumClientPixels({10, 10}, {20, 20, 20, 20}), (PixelSize{0, 0}));
}

}  // namespace
}  // namespace quillon::app
