#include "app/scrollmapping.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

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

}  // namespace
}  // namespace quillon::app
