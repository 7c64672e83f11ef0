#include "app/scrollmapping.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

TEST(ScrollMapping, TheToolkitBarShowsTheDistanceScrolled) {
  const ScrollBarState bar{0, 0, -16050, 600, 600};
  EXPECT_EQ(toToolkitScrollBar(bar), (ToolkitScrollBar{0, 16050, 0, 600, 600}));
  const ScrollBarState scrolled{-600, 0, -16050, 600, 600};
  EXPECT_EQ(toToolkitScrollBar(scrolled).value, 600);
  EXPECT_EQ(fromToolkitScrollValue(600), -600);
  EXPECT_EQ(fromToolkitScrollValue(16050), -16050);
}

TEST(ScrollMapping, NothingToScrollWhenTheCanvasFits) {
  EXPECT_EQ(toToolkitScrollBar({0, 0, 0, 600, 600}).maximum, 0);
  const ToolkitScrollBar lower = toToolkitScrollBar({1, 0, 1, 600, 600});
  EXPECT_EQ(lower.maximum, 0);
  EXPECT_EQ(lower.value, 0);
}

TEST(ScrollMapping, RangesBeyondSixteenBitsPassWhole) {
  EXPECT_EQ(toToolkitScrollBar({-38865, 0, -38865, 600, 600}).maximum, 38865);
  EXPECT_EQ(toToolkitScrollBar({-38865, 0, -38865, 600, 600}).value, 38865);
}

}  // namespace
}  // namespace quillon::app
