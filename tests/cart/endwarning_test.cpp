// The end-of-cart warning: when it lights (switched on or off, long or short
// files), what the cart tells its view, and a looping cart that never shows
// it. A jump while paused is in cartcontrols_test.cpp.
#include "cart/endwarning.h"

#include <algorithm>
#include <vector>

#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

constexpr EndWarningRule kFiveSeconds{true, 5};

TEST(EndWarningLit, LitInTheFirstQuarterOfEveryHalfSecondOfTheLastSeconds) {
  const struct {
    std::int64_t elapsedMs;
    bool lit;
  } cases[] = {
      {0, false},    {4999, false},  // 5.001 s left: not yet
      {5000, true},  {5249, true},   // the first quarter second
      {5250, false}, {5499, false},  // the second
      {5500, true},  {7750, false},
      {8000, true},  {9999, false},  // 1 ms left: a quarter second begun at 9750 ms
      {10000, true}, {10400, true},  // at and past the end it stays lit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(endWarningLit(kFiveSeconds, c.elapsedMs, 10000), c.lit) << c.elapsedMs;
  }
  // The rule sets how long before the end; a shorter file warns from its start.
  EXPECT_FALSE(endWarningLit({true, 2}, 7999, 10000));
  EXPECT_TRUE(endWarningLit({true, 2}, 8000, 10000));
  EXPECT_TRUE(endWarningLit(kFiveSeconds, 0, 3000));
  // Off, or nothing to measure against.
  EXPECT_FALSE(endWarningLit({false, 5}, 9000, 10000));
  EXPECT_FALSE(endWarningLit(kFiveSeconds, 0, 0));
}

class EndWarning : public CartTest {
 public:
  void SetUp() override {
    CartTest::SetUp();
    cart.setEndWarning(kFiveSeconds);
  }
  // The warning's look at every 50 ms step from now for `d`.
  std::vector<bool> blinkOver(std::chrono::milliseconds d) {
    std::vector<bool> seen;
    for (auto t = 0ms; t < d; t += 50ms) {
      advance(50ms);
      seen.push_back(cart.look().endWarning);
    }
    return seen;
  }
  static bool blinks(const std::vector<bool>& seen) {
    return std::count(seen.begin(), seen.end(), true) > 0 &&
           std::count(seen.begin(), seen.end(), false) > 0;
  }
  static bool dark(const std::vector<bool>& seen) {
    return std::count(seen.begin(), seen.end(), true) == 0;
  }
};

// When it lights is endWarningLit's; here, what the cart tells its view.
TEST_F(EndWarning, EveryChangeOfTheFrameRepaintsItAndAStopPutsItOut) {
  bindAndPlay("/j/ten.wav", 10);
  advanceTo(5000ms);
  listener.changes.clear();
  advance(1000ms);  // lit again at 6 s
  EXPECT_EQ(listener.changesWith(kEndWarningPart), 4);
  ASSERT_TRUE(cart.look().endWarning);
  cart.stopClick();
  EXPECT_FALSE(cart.look().endWarning);
}

TEST_F(EndWarning, ALoopingCartNeverWarnsAndOneSetToStopWarnsAtOnce) {
  bindFile("/j/ten.wav", 10);
  cart.Setloop(1);
  cart.playClick();
  EXPECT_TRUE(dark(blinkOver(15000ms)));
  // The loop restarted at 9.5 s: 5.5 s into the second round, with the loop
  // switched off, the cart will stop at its end and warns.
  cart.loopLabelClick();
  EXPECT_TRUE(blinks(blinkOver(1000ms)));
}

}  // namespace
}  // namespace quillon::cart::test
