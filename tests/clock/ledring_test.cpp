#include "clock/ledring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "clock/clocktext.h"

namespace quillon::clock {
namespace {

struct Expected {
  std::set<int> green;
  std::set<int> red;  // every other LED hidden
};

void expectRing(const LedRing& ring, const Expected& e, int second) {
  for (int i = 0; i < LedRing::kLedCount; ++i) {
    const Led& led = ring.led(i);
    if (e.green.count(i)) {
      EXPECT_TRUE(led.shown && led.colour == LedColour::Green) << "LED " << i << " at " << second;
    } else if (e.red.count(i)) {
      EXPECT_TRUE(led.shown && led.colour == LedColour::Red) << "LED " << i << " at " << second;
    } else {
      EXPECT_FALSE(led.shown) << "LED " << i << " at " << second;
    }
  }
}

std::set<int> range(int from, int to, int step = 1) {
  std::set<int> s;
  for (int i = from; i <= to; i += step) s.insert(i);
  return s;
}

class RingAtSecond : public ::testing::Test {
 protected:
  void SetUp() override {
    ring.BuildLedRing();
    ring.ResetLedRing();
  }
  LedRing ring;
};

TEST_F(RingAtSecond, TheDocumentedSeconds) {
  // Second 0: twelve markers, LED 0 green.
  ring.UpdateLedRing(0);
  expectRing(ring, {{0}, range(5, 55, 5)}, 0);
  // Second 1: 0 green, 1 red, markers 5..55 red.
  ring.UpdateLedRing(1);
  Expected s1{{0}, range(5, 55, 5)};
  s1.red.insert(1);
  expectRing(ring, s1, 1);
  // Second 5: 0 and 5 green, 1..4 red, markers 10..55 red.
  ring.UpdateLedRing(5);
  Expected s5{{0, 5}, range(10, 55, 5)};
  for (int i = 1; i <= 4; ++i) s5.red.insert(i);
  expectRing(ring, s5, 5);
  // Second 59: all 60 shown, twelve green, 48 red.
  ring.UpdateLedRing(59);
  Expected s59{range(0, 55, 5), {}};
  for (int i = 0; i < 60; ++i)
    if (i % 5) s59.red.insert(i);
  EXPECT_EQ(s59.red.size(), 48u);
  expectRing(ring, s59, 59);
  // The next minute falls back to the twelve markers.
  ring.UpdateLedRing(0);
  expectRing(ring, {{0}, range(5, 55, 5)}, 0);
}

TEST_F(RingAtSecond, StartUpCatchesUpWithTheRunningMinute) {
  ring.FillLedRing(37);
  Expected e{range(0, 35, 5), range(40, 55, 5)};
  for (int i = 1; i <= 37; ++i)
    if (i % 5) e.red.insert(i);
  expectRing(ring, e, 37);
}

TEST_F(RingAtSecond, ClockSetBackFromFiftyToTen) {
  ring.UpdateLedRing(50);
  const auto changes = ring.UpdateLedRing(10);
  Expected e{{0, 5, 10}, range(15, 55, 5)};
  for (int i = 1; i <= 9; ++i)
    if (i % 5) e.red.insert(i);
  expectRing(ring, e, 10);
  // Hidden: 11..49 but the markers (32); turned red: markers 15..50 (8, with
  // 10 staying green). Nothing else: 40 LEDs.
  EXPECT_EQ(changes.count(), 40u);
  EXPECT_FALSE(changes.test(10));
}

TEST_F(RingAtSecond, ASecondTickInTheSameSecondChangesNothing) {
  ring.UpdateLedRing(23);
  EXPECT_EQ(ring.UpdateLedRing(23).count(), 0u);
  ring.UpdateLedRing(0);
  EXPECT_EQ(ring.UpdateLedRing(0).count(), 0u);
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

TEST(ClockText, TwentyFourHourDigits) {
  EXPECT_EQ(formatTimeOfDay(13, 5, 9), "13:05:09");
  EXPECT_EQ(formatTimeOfDay(23, 59, 59), "23:59:59");
  EXPECT_EQ(formatTimeOfDay(0, 0, 0), "00:00:00");
}

}  // namespace
}  // namespace quillon::clock
