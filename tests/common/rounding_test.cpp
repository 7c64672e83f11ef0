#include <gtest/gtest.h>

#include "common/rounding.h"
#include "common/twips.h"

namespace quillon {
namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(2.5000001), 3);
  EXPECT_EQ(roundHalfEven(-0.4), 0);
}

TEST(Twips, FifteenTwipsPerPixelAt96Dpi) {
  // The cart's design size: 2580 x 1695 twips is 172 x 113 pixels.
  EXPECT_EQ(twipsToPixels(2580, 96), 172);
  EXPECT_EQ(twipsToPixels(1695, 96), 113);
  EXPECT_EQ(twipsToPixels(1320, 96), 88);
  EXPECT_DOUBLE_EQ(pixelsToTwips(5, 96), 75.0);
  // 70 twips is 4.67 pixels: shown as 5.
  EXPECT_EQ(twipsToPixels(70, 96), 5);
}

TEST(Twips, FollowsTheLogicalDpi) {
  EXPECT_EQ(twipsToPixels(1440, 192), 192);
  EXPECT_DOUBLE_EQ(pixelsToTwips(192, 192), 1440.0);
  EXPECT_DOUBLE_EQ(pixelsToTwips(10, 0), 0.0);
}

}  // namespace
}  // namespace quillon
