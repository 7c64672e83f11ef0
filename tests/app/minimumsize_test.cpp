#include "app/minimumsize.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

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
