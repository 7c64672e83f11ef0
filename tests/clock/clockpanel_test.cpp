#include "clock/clockpanel.h"

#include <gtest/gtest.h>

#include <QApplication>

namespace quillon::clock {
namespace {

TEST(ClockPanel, ShowsDashesUntilTheFirstTickThenTheWallClock) {
  ClockPanel panel;
  QTime now(14, 7, 37);
  panel.setTimeSource([&] { return now; });
  panel.BuildLedRing();
  panel.ResetLedRing();
  panel.FillLedRing();
  EXPECT_EQ(panel.timeText(), "--:--:--");
  EXPECT_TRUE(panel.ring().led(37).shown);
  EXPECT_FALSE(panel.ring().led(38).shown);

  panel.Timer_Analog();
  EXPECT_EQ(panel.timeText(), "14:07:37");
  EXPECT_EQ(panel.lastChangeCount(), 0);  // same second: nothing repainted

  now = QTime(14, 8, 0);  // a late tick jumps straight to the new minute
  panel.Timer_Analog();
  EXPECT_EQ(panel.timeText(), "14:08:00");
  EXPECT_FALSE(panel.ring().led(1).shown);
  EXPECT_TRUE(panel.ring().led(55).shown);
}

}  // namespace
}  // namespace quillon::clock
