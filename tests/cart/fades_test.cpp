// The loop and fade rules, second by second, against hand-computed gains:
// a third of the volume per whole second.
#include "cart/fades.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon::cart {
namespace {

struct Step {
  std::int64_t secs;
  bool active;
  int gain;
};

TEST(Fades, StepBySecondFromTheStartAsAPlayWould) {
  const struct {
    const char* name;
    FadeSettings settings;
    std::vector<Step> steps;
  } cases[] = {
      {"fade-in, 10 s at 100",
       {10, 100, true, false},
       {{0, true, 0}, {1, true, 33}, {2, true, 67}, {3, true, 100}, {4, false, 100}}},
      {"fade-out, 10 s at 90",
       {10, 90, false, true},
       {{0, false, 90},
        {6, false, 90},
        {7, true, 90},
        {8, true, 60},
        {9, true, 30},
        {10, true, 0},
        {11, true, 0}}},
      {"both, 20 s",
       {20, 100, true, true},
       {{0, true, 0},
        {3, true, 100},
        {4, false, 100},
        {16, false, 100},
        {17, true, 100},
        {18, true, 67},
        {19, true, 33},
        {20, true, 0}}},
      {"both, 6 s: the shortest file that fades",
       {6, 100, true, true},
       {{0, true, 0}, {3, true, 100}, {4, true, 67}, {5, true, 33}, {6, true, 0}}},
      // Below six seconds the switches change nothing.
      {"both, 4 s", {4, 80, true, true}, {{0, false, 80}, {2, false, 80}, {4, false, 80}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FadeState state = fadeAtStart(c.settings);
    for (const Step& s : c.steps) {
      state = fadeStep(state, s.secs, c.settings);
      EXPECT_EQ(state, (FadeState{s.active, s.gain})) << "at " << s.secs << " s";
    }
  }
}

TEST(Fades, AStartForgetsTheFadeOfTheLastPlay) {
  // A fade-out ended at gain 0; the next start (or loop restart) begins at
  // the volume, or from silence only when the fade-in applies.
  EXPECT_EQ(fadeAtStart({10, 90, false, true}), (FadeState{false, 90}));
  EXPECT_EQ(fadeAtStart({10, 90, true, true}), (FadeState{true, 0}));
  EXPECT_EQ(fadeAtStart({4, 90, true, true}), (FadeState{false, 90}));
}

TEST(Fades, BlockGainIsTheFadeGainOnlyWhileAFadeRuns) {
  const struct {
    FadeState state;
    FadeSettings settings;
    int gain;
  } cases[] = {
      {{true, 30}, {10, 90, false, true}, 30},  {{false, 30}, {10, 90, false, true}, 90},
      {{true, 30}, {10, 90, false, false}, 90},  // switches off since
      {{true, 30}, {5, 90, false, true}, 90},    // too short to fade
      {{true, 0}, {10, 70, true, false}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(blockGain(c.state, c.settings), c.gain);
}

TEST(Fades, SecondsGoToTheNearestWithHalvesToEven) {
  const struct {
    std::int64_t ms;
    std::int64_t secs;
  } cases[] = {{0, 0},    {499, 0},  {500, 0},   {550, 1},    {1500, 2},
               {2500, 2}, {9449, 9}, {9500, 10}, {10500, 10}, {11500, 12}};
  for (const auto& c : cases) EXPECT_EQ(nearestSecond(c.ms), c.secs) << c.ms;
}

TEST(Loop, RestartsWhenTheNearestSecondReachesTheLength) {
  EXPECT_TRUE(loopDue(10, 10, true));
  EXPECT_TRUE(loopDue(11, 10, true));
  EXPECT_FALSE(loopDue(9, 10, true));
  EXPECT_FALSE(loopDue(10, 10, false));
  // A file shorter than half a second has length 0: it loops at its end only.
  EXPECT_FALSE(loopDue(0, 0, true));
  EXPECT_FALSE(loopDue(3, 0, true));
}

}  // namespace
}  // namespace quillon::cart
