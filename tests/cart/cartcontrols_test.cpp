// The cart's controls as the view forwards them: buttons, hover lights, the
// volume knob and the position thumb. The knob's and thumb's own arithmetic
// is pinned in controls_test.cpp; here, what the cart makes of it.
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using quillon::test::FakeMedia;

using CartControls = CartTest;

// The first left-channel sample of the last run's first block.
std::int16_t firstQueuedSample(const RecordingPlayer& player) {
  const auto& blocks = player.runs().back().blocks;
  return blocks.empty() ? std::int16_t{0} : blocks.front().samples.front();
}

// --- Buttons ---

TEST_F(CartControls, PlayOnAnEmptyCartDoesNothing) {
  cart.playClick();
  EXPECT_FALSE(cart.Playing());
  EXPECT_EQ(media().readerOpens, 0);
  EXPECT_TRUE(listener.changes.empty());
}

TEST_F(CartControls, PlayOnAPlayingOrPausedCartStartsAgainFromTheBeginning) {
  bindAndPlay("/j/a.wav", 10);
  advance(2s);
  cart.playClick();
  EXPECT_TRUE(cart.Playing());
  EXPECT_EQ(cart.SampleOffset(), 0);
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(0, 0));

  advance(2s);
  cart.pauseClick();
  ASSERT_TRUE(cart.Paused());
  cart.playClick();
  EXPECT_FALSE(cart.Paused());
  EXPECT_TRUE(cart.Playing());
  EXPECT_EQ(cart.SampleOffset(), 0);
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(0, 0));
}

TEST_F(CartControls, PlayWithFadeInStartsFromSilenceOnlyOnFilesOfSixSecondsOrMore) {
  const struct {
    double seconds;
    bool fades;
  } cases[] = {{10, true}, {6, true}, {5.4, false}, {4, false}};
  cart.SetFadein(1);
  for (const auto& c : cases) {
    bindFile("/j/x.wav", c.seconds);
    cart.playClick();
    EXPECT_EQ(cart.FadeActive(), c.fades) << c.seconds;
    EXPECT_EQ(cart.FadeGain(), c.fades ? 0 : 100) << c.seconds;
  }
}

TEST_F(CartControls, StopAndPauseOnAnIdleCartDoNothing) {
  bindFile("/j/a.wav", 10);
  listener.changes.clear();
  cart.stopClick();
  cart.pauseClick();
  EXPECT_TRUE(listener.changes.empty());
  EXPECT_FALSE(cart.Paused());
  EXPECT_FALSE(cart.Playing());
}

TEST_F(CartControls, HoverLightsFollowThePointerAndRepaintOnlyWhenTheyChange) {
  cart.stopLeave();  // leaving never lights
  cart.thumbLeave();
  EXPECT_FALSE(cart.look().stopLit || cart.look().thumbLit);
  cart.stopHover(2, 90);
  cart.stopHover(80, 90);
  EXPECT_TRUE(cart.look().stopLit);
  cart.stopHover(152, 90);  // past its 150 twips
  EXPECT_FALSE(cart.look().stopLit);
  EXPECT_EQ(listener.changesWith(kButtonsPart), 2);

  cart.stopHover(75, 90);
  cart.thumbMove(30, 60);
  EXPECT_TRUE(cart.look().stopLit && cart.look().thumbLit);
  cart.thumbMove(76, 60);  // past its 75 twips of inner width
  EXPECT_FALSE(cart.look().thumbLit);
  cart.thumbMove(30, 60);
  cart.stopLeave();
  cart.thumbLeave();
  EXPECT_FALSE(cart.look().stopLit || cart.look().thumbLit);
}

TEST_F(CartControls, ThePauseButtonStaysLitWhilePausedWhereverThePointerGoes) {
  bindAndPlay("/j/bed.wav", 20);
  cart.pauseHover(75, 90);
  cart.pauseClick();
  cart.pauseHover(-10, 90);
  cart.pauseLeave();
  EXPECT_TRUE(cart.look().pauseLit);
  cart.pauseHover(75, 90);  // back over it, resumed, and away
  cart.pauseClick();
  cart.pauseLeave();
  EXPECT_FALSE(cart.look().pauseLit);

  cart.pauseHover(75, 90);
  cart.pauseClick();
  cart.pauseLeave();
  cart.stopClick();  // stopping a paused cart puts the light out
  EXPECT_FALSE(cart.Paused());
  EXPECT_FALSE(cart.look().pauseLit);
}

// --- Position thumb ---

TEST_F(CartControls, ReleaseJumpsToThePlaceTheThumbWasDroppedAt) {
  bindAndPlay("/j/x.wav", 10);
  ASSERT_TRUE(cart.thumbPress(0));
  EXPECT_TRUE(cart.Seeking());
  cart.thumbMove(5000, 60);  // the right end: 99 % of 441000
  cart.thumbRelease();
  EXPECT_FALSE(cart.Seeking());
  EXPECT_EQ(cart.SampleOffset(), 436590);
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(436590, 0));
}

TEST_F(CartControls, PressAndReleaseWithoutMovingJumpsToWhereTheThumbStands) {
  bindAndPlay("/j/long.wav", 30);
  advanceTo(10000ms);
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 415.0f);
  ASSERT_TRUE(cart.thumbPress(35));
  cart.thumbRelease();
  EXPECT_NEAR(static_cast<double>(cart.SampleOffset()), framesOf(10), 2.0);
  advance(1000ms);
  EXPECT_EQ(cart.look().runningTime, "00:11");
}

TEST_F(CartControls, WhileHeldTheThumbStaysWhereTheOperatorPutsIt) {
  bindAndPlay("/j/long.wav", 30);
  advance(1s);
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(900, 60);
  const float held = cart.look().thumbLeft;
  advance(2s);
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, held);
  EXPECT_EQ(cart.look().runningTime, "00:03");  // playback goes on meanwhile
  EXPECT_EQ(cart.SampleOffset(), 0);
}

TEST_F(CartControls, ACartStoppedDuringTheDragEndsItAtTheLeftEnd) {
  bindAndPlay("/j/long.wav", 30);
  advance(1s);
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(700, 60);
  cart.stopClick();
  cart.thumbRelease();
  EXPECT_FALSE(cart.Seeking());
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 0.0f);
  cart.thumbMove(400, 60);
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 0.0f);
}

TEST_F(CartControls, AJumpWhilePausedTakesEffectAtTheResume) {
  bindAndPlay("/j/long.wav", 30);
  advance(2s);
  cart.pauseClick();
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(622.5f - cart.look().thumbLeft, 60);  // to half the travel
  cart.thumbRelease();
  EXPECT_TRUE(cart.Paused());
  EXPECT_EQ(cart.SampleOffset(), framesOf(15));
  EXPECT_EQ(cart.look().runningTime, "00:15");
  cart.pauseClick();
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(framesOf(15), 0));
  advance(1s);
  EXPECT_EQ(cart.look().runningTime, "00:16");
}

TEST_F(CartControls, AJumpOutOfTheFadeOutPlaysAtTheVolumeAtOnce) {
  bindFile("/j/twenty.wav", 20);
  cart.SetFadeout(1);
  cart.playClick();
  advanceTo(19000ms);
  ASSERT_EQ(cart.FadeGain(), 33);
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(-2000, 60);  // back to the start
  cart.thumbRelease();
  EXPECT_FALSE(cart.FadeActive());
  const auto& run = player().runs().back();
  ASSERT_EQ(run.blocks.size(), 2u);
  EXPECT_EQ(player().blockGains(player().runs().size() - 1, 0), (std::vector<int>{100, 100}));
  // From its very first frame: no glide up from the fade's gain.
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(0, 0));
}

}  // namespace
}  // namespace quillon::cart::test
