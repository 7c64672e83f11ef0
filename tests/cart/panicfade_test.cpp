// The panic on one cart: the stop at once, and the fade to silence, checked
// against the sound as the player heard it.
#include <algorithm>
#include <cmath>

#include "cart/fadetosilence.h"
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using quillon::test::FakeMedia;

// Shapes a block of `frames` frames at `level` and returns its samples.
std::vector<std::int16_t> shaped(FadeToSilence& fade, int channels, int frames,
                                 std::int16_t level) {
  AudioBlock b;
  b.channels = channels;
  b.samples.assign(static_cast<std::size_t>(frames * channels), level);
  fade.shape(b);
  return b.samples;
}

using Samples = std::vector<std::int16_t>;

TEST(FadeToSilence, AStraightLineFromTheLevelHeardToSilenceAcrossBlocks) {
  FadeToSilence fade;
  fade.start(10, 0);
  // 10 frames: 1.0, 0.9 ... 0.1 of the level, the left and right alike.
  EXPECT_EQ(shaped(fade, 2, 4, 1000), (Samples{1000, 1000, 900, 900, 800, 800, 700, 700}));
  EXPECT_FALSE(fade.finished());
  EXPECT_EQ(shaped(fade, 2, 4, 1000), (Samples{600, 600, 500, 500, 400, 400, 300, 300}));
  // Longer than what is left: cut at the fade's end.
  EXPECT_EQ(shaped(fade, 2, 4, 1000), (Samples{200, 200, 100, 100}));
  EXPECT_TRUE(fade.finished());

  fade.cancel();
  EXPECT_FALSE(fade.running());
  EXPECT_EQ(shaped(fade, 2, 2, 1000), Samples(4, 1000));
  fade.start(0, 0);  // at least one frame
  EXPECT_TRUE(fade.running());
  EXPECT_FALSE(fade.finished());
}

TEST(FadeToSilence, WaitingFramesPlayAsTheyAreAndDroppedOnesAreReplacedOnTime) {
  // Silence 10 frames after the press, 4 of them already queued: the 6 fed
  // frames fall from full level, 6/6, 5/6 ... 1/6.
  FadeToSilence fade;
  fade.start(10, 4);
  EXPECT_EQ(shaped(fade, 1, 3, 600), (Samples{600, 500, 400}));
  // The player dropped 5 waiting frames (from frame 2 on): what replaces
  // them is heard at frames 2 and 3, before the line, at full level.
  fade.dropped(5);
  EXPECT_EQ(shaped(fade, 1, 4, 600), (Samples{600, 600, 600, 500}));
  EXPECT_EQ(shaped(fade, 1, 10, 600), (Samples{400, 300, 200, 100}));
  EXPECT_TRUE(fade.finished());
}

using PanicFade = CartTest;

// The largest level heard in [from, to), in percent of the file's own
// samples (frames whose source sample is near zero are left out).
double peakLevel(const Samples& heard, FrameCount from, FrameCount to) {
  double peak = 0;
  for (FrameCount i = from; i < to; ++i) {
    const int source = FakeMedia::sampleAt(i, 0);
    if (std::abs(source) >= 4000) {
      peak = std::max(peak, 100.0 * heard[static_cast<std::size_t>(i)] / source);
    }
  }
  return peak;
}

TEST_F(PanicFade, ReachesSilenceTwoSecondsAfterThePressThenStops) {
  bindAndPlay("/j/ten.wav", 10);
  cart.SetVolume(80);
  cart.Setloop(1);
  cart.SetFadeout(1);
  advanceTo(3000ms);
  cart.fadeOutAndStop(2000);
  EXPECT_TRUE(cart.fadingOut());
  advanceTo(4990ms);
  EXPECT_TRUE(cart.Playing());
  advanceTo(5100ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.fadingOut());

  // Heard: 3 s at the volume, then 2 s falling to nothing, and no more.
  const Samples heard = player().heardLeft();
  ASSERT_EQ(static_cast<FrameCount>(heard.size()), framesOf(5));
  EXPECT_NEAR(peakLevel(heard, framesOf(2.5), framesOf(3)), 80, 0.5);
  // What was queued at the press plays as it was, then the line falls.
  EXPECT_NEAR(peakLevel(heard, framesOf(3.0), framesOf(3.1)), 80, 0.5);
  double before = 101;
  for (double t = 3.5; t < 5.0; t += 0.25) {
    const double level = peakLevel(heard, framesOf(t), framesOf(t + 0.1));
    EXPECT_LT(level, before) << t;
    // Under the line from the end of the queue (at most 400 ms) to silence.
    EXPECT_LE(level, 80 * (5.0 - t) / 1.6 + 1) << t;
    before = level;
  }
  EXPECT_LT(peakLevel(heard, framesOf(4.9), framesOf(5)), 80 * 0.1 / 1.6 + 0.5);
  EXPECT_LE(std::abs(heard.back()), 1);

  // The cart keeps its file and every setting.
  EXPECT_EQ(cart.GetTitle(), "/j/ten.wav");
  EXPECT_EQ(cart.GetVolume() + cart.Getloop() + cart.GetFadeout(), "80TrueTrue");
  EXPECT_EQ(cart.look().runningTime, "00:00");
}

TEST_F(PanicFade, CarriesOnThroughALoopRestartAndDoesNotLoopAfterIt) {
  bindFile("/j/three.wav", 3);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(2000ms);
  cart.fadeOutAndStop(2000);
  // The loop goes on at 3 s, its next pass carrying the fade on: silence
  // falls at 4 s, and then the cart stops.
  advanceTo(3990ms);
  EXPECT_TRUE(cart.Playing());
  advanceTo(4100ms);
  EXPECT_FALSE(cart.Playing());
  const Samples heard = player().heardLeft();
  EXPECT_EQ(static_cast<FrameCount>(heard.size()), framesOf(4));
  EXPECT_LE(std::abs(heard.back()), 1);
}

TEST_F(PanicFade, TheEndOfTheFileComesFirstOnACartThatDoesNotLoop) {
  bindAndPlay("/j/ten.wav", 10);
  advanceTo(9000ms);
  cart.fadeOutAndStop(2000);
  advanceTo(10100ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_EQ(static_cast<FrameCount>(player().heardLeft().size()), framesOf(10));
}

TEST_F(PanicFade, PausedStoppedAndFadingCartsAreLeftAsTheyAre) {
  bindAndPlay("/j/ten.wav", 10);
  advanceTo(1000ms);
  cart.pauseClick();
  cart.fadeOutAndStop(2000);
  EXPECT_FALSE(cart.fadingOut());
  advance(3000ms);
  EXPECT_TRUE(cart.Paused());

  cart.stopClick();
  cart.fadeOutAndStop(2000);
  EXPECT_FALSE(cart.fadingOut());

  // A second request does not push silence further away.
  cart.playClick();
  const auto pressed = engine.clock.now() + 1000ms;
  advanceTo(pressed);
  cart.fadeOutAndStop(2000);
  advanceTo(pressed + 1000ms);
  cart.fadeOutAndStop(2000);
  advanceTo(pressed + 2100ms);
  EXPECT_FALSE(cart.Playing());
}

TEST_F(PanicFade, StopAtOnceAndAFreshStartEndTheFadeAndAPauseHoldsIt) {
  bindAndPlay("/j/ten.wav", 10);
  cart.fadeOutAndStop(2000);
  cart.stopPlaying();
  EXPECT_FALSE(cart.Playing() || cart.fadingOut());
  EXPECT_EQ(cart.GetTitle(), "/j/ten.wav");

  cart.playClick();
  cart.fadeOutAndStop(2000);
  cart.playClick();  // started again: plays on at its volume
  EXPECT_FALSE(cart.fadingOut());

  const auto pressed = engine.clock.now() + 1000ms;
  advanceTo(pressed);
  cart.fadeOutAndStop(2000);
  advanceTo(pressed + 1000ms);
  cart.pauseClick();
  advance(5000ms);
  EXPECT_TRUE(cart.Paused());
  cart.pauseClick();
  // A second of the fade was heard: the other follows the resume.
  advance(990ms);
  EXPECT_TRUE(cart.Playing());
  advance(100ms);
  EXPECT_FALSE(cart.Playing());
}

}  // namespace
}  // namespace quillon::cart::test
