// The ring of sixty LEDs second by second, where they stand, and the panel
// that drives them from the wall clock.
#include <gtest/gtest.h>

#include <QTime>
#include <cmath>
#include <string>
#include <utility>

#include "clock/clockpanel.h"
#include "clock/ledring.h"

namespace quillon::clock {
namespace {

// The ring as a picture: G green, R red, . hidden, from LED 0 at the top.
std::string picture(const LedRing& ring) {
  std::string p;
  for (int i = 0; i < LedRing::kLedCount; ++i) {
    const Led& led = ring.led(i);
    p += !led.shown ? '.' : led.colour == LedColour::Green ? 'G' : 'R';
  }
  return p;
}

class RingAtSecond : public ::testing::Test {
 protected:
  void SetUp() override {
    ring.BuildLedRing();
    ring.ResetLedRing();
  }
  LedRing ring;
};

// Twelve markers, red until their second comes; each second's LED red once
// passed, the markers passed green.
TEST_F(RingAtSecond, TheDocumentedSecondsAndTheNextMinute) {
  const std::pair<int, const char*> seconds[] = {
      {0, "G....R....R....R....R....R....R....R....R....R....R....R...."},
      {1, "GR...R....R....R....R....R....R....R....R....R....R....R...."},
      {5, "GRRRRG....R....R....R....R....R....R....R....R....R....R...."},
      {59, "GRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRR"},
      {0, "G....R....R....R....R....R....R....R....R....R....R....R...."}};
  for (const auto& [second, expected] : seconds) {
    ring.UpdateLedRing(second);
    EXPECT_EQ(picture(ring), expected) << second;
  }
}

TEST_F(RingAtSecond, StartUpCatchesUpWithTheRunningMinute) {
  ring.FillLedRing(37);
  EXPECT_EQ(picture(ring), "GRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRRRRGRR..R....R....R....R....");
}

TEST_F(RingAtSecond, ClockSetBackFromFiftyToTen) {
  ring.UpdateLedRing(50);
  const auto changes = ring.UpdateLedRing(10);
  EXPECT_EQ(picture(ring), "GRRRRGRRRRG....R....R....R....R....R....R....R....R....R....");
  // Hidden: 11..49 but the markers (32); turned red: markers 15..50 (8, with
  // 10 staying green). Nothing else: 40 LEDs.
  EXPECT_EQ(changes.count(), 40u);
  EXPECT_FALSE(changes.test(10));
}

TEST_F(RingAtSecond, ASecondTickInTheSameSecondChangesNothing) {
  ring.UpdateLedRing(23);
  EXPECT_EQ(ring.UpdateLedRing(23).count(), 0u);
  ring.UpdateLedRing(0);
  // The next second touches one LED.
  const auto next = ring.UpdateLedRing(1);
  EXPECT_EQ(next.count(), 1u);
  EXPECT_TRUE(next.test(1));
}

TEST(LedPositions, OnTheCircleAroundHalfThePanelWidth) {
  const float w = 3855;
  struct Case {
    int led;
    double left, top;
  };
  // Hand-computed: centre (1927.5, 1620), radius 1300.
  const Case cases[] = {
      {0, 1927.5, 320}, {15, 3227.5, 1620}, {30, 1927.5, 2920}, {45, 627.5, 1620}};
  for (const auto& c : cases) {
    const LedPosition p = LedRing::position(c.led, w);
    EXPECT_NEAR(p.left, c.left, 0.01) << c.led;
    EXPECT_NEAR(p.top, c.top, 0.01) << c.led;
  }
  // LED 5 at one o'clock: 30 degrees.
  const LedPosition p5 = LedRing::position(5, 2000);
  EXPECT_NEAR(p5.left, 1000 + 650, 0.01);
  EXPECT_NEAR(p5.top, 1620 - 1300 * std::sqrt(3.0) / 2, 0.01);
}

TEST(ClockPanel, ShowsDashesUntilTheFirstTickThenTheWallClock) {
  ClockPanel panel;
  QTime now(9, 7, 37);
  panel.setTimeSource([&] { return now; });
  panel.BuildLedRing();
  panel.ResetLedRing();
  panel.FillLedRing();
  EXPECT_EQ(panel.timeText(), "--:--:--");
  EXPECT_TRUE(panel.ring().led(37).shown);
  EXPECT_FALSE(panel.ring().led(38).shown);

  panel.Timer_Analog();
  EXPECT_EQ(panel.timeText(), "09:07:37");
  EXPECT_EQ(panel.lastChangeCount(), 0);  // same second: nothing repainted

  now = QTime(9, 8, 0);  // a late tick jumps straight to the new minute
  panel.Timer_Analog();
  EXPECT_EQ(panel.timeText(), "09:08:00");
  EXPECT_FALSE(panel.ring().led(1).shown);
  EXPECT_TRUE(panel.ring().led(55).shown);
}

}  // namespace
}  // namespace quillon::clock
