// The panic on one cart: the stop at once, and the fade to silence, checked
// against the sound as the player heard it.
#include <algorithm>
#include <cmath>

#include "cart/fadetosilence.h"
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using quillon::test::FakeMedia;

TEST(FadeToSilence, AStraightLineFromTheLevelHeardToSilenceAcrossBlocks) {
  FadeToSilence fade;
  fade.start(10, 0);
  const auto block = [](int frames) {
    AudioBlock b;
    b.channels = 2;
    b.samples.assign(static_cast<std::size_t>(frames * 2), 1000);
    return b;
  };
  // 10 frames: 1.0, 0.9 ... 0.1 of the level, the left and right alike.
  AudioBlock first = block(4);
  fade.shape(first);
  EXPECT_EQ(first.samples, (std::vector<std::int16_t>{1000, 1000, 900, 900, 800, 800, 700, 700}));
  EXPECT_FALSE(fade.finished());
  AudioBlock second = block(4);
  fade.shape(second);
  EXPECT_EQ(second.samples, (std::vector<std::int16_t>{600, 600, 500, 500, 400, 400, 300, 300}));
  AudioBlock last = block(4);  // longer than what is left: cut at the fade's end
  fade.shape(last);
  EXPECT_EQ(last.samples, (std::vector<std::int16_t>{200, 200, 100, 100}));
  EXPECT_TRUE(fade.finished());

  fade.cancel();
  EXPECT_FALSE(fade.running());
  AudioBlock untouched = block(2);
  fade.shape(untouched);
  EXPECT_EQ(untouched.samples, std::vector<std::int16_t>(4, 1000));
  fade.start(0, 0);  // at least one frame
  EXPECT_TRUE(fade.running());
  EXPECT_FALSE(fade.finished());
}

TEST(FadeToSilence, WaitingFramesPlayAsTheyAreAndDroppedOnesAreReplacedOnTime) {
  const auto block = [](int frames) {
    AudioBlock b;
    b.channels = 1;
    b.samples.assign(static_cast<std::size_t>(frames), 600);
    return b;
  };
  // Silence 10 frames after the press, 4 of them already queued: the 6 fed
  // frames fall from full level, 6/6, 5/6 ... 1/6.
  FadeToSilence fade;
  fade.start(10, 4);
  AudioBlock first = block(3);
  fade.shape(first);
  EXPECT_EQ(first.samples, (std::vector<std::int16_t>{600, 500, 400}));
  // The player dropped 5 waiting frames (from frame 2 on): what replaces
  // them is heard at frames 2 and 3, before the line, at full level.
  fade.dropped(5);
  AudioBlock second = block(4);
  fade.shape(second);
  EXPECT_EQ(second.samples, (std::vector<std::int16_t>{600, 600, 600, 500}));
  AudioBlock rest = block(10);
  fade.shape(rest);
  EXPECT_EQ(rest.samples, (std::vector<std::int16_t>{400, 300, 200, 100}));
  EXPECT_TRUE(fade.finished());
}

class PanicFade : public CartTest {
 public:
  // The heard level of frame `i` of the play against the file, in percent of
  // the file's own sample (frames whose source sample is near zero are left
  // out: -1).
  static double levelAt(const std::vector<std::int16_t>& heard, FrameCount i) {
    const int source = FakeMedia::sampleAt(i, 0);
    if (std::abs(source) < 4000) return -1;
    return 100.0 * heard[static_cast<std::size_t>(i)] / source;
  }
  // The largest level heard in [from, to).
  static double peakLevel(const std::vector<std::int16_t>& heard, FrameCount from, FrameCount to) {
    double peak = 0;
    for (FrameCount i = from; i < to; ++i) peak = std::max(peak, levelAt(heard, i));
    return peak;
  }
};

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
  const std::vector<std::int16_t> heard = player().heardLeft();
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
  EXPECT_EQ(cart.GetVolume(), "80");
  EXPECT_EQ(cart.Getloop(), "True");
  EXPECT_EQ(cart.GetFadeout(), "True");
  EXPECT_EQ(cart.look().background, Background::Stop);
  EXPECT_EQ(cart.look().runningTime, "00:00");
}

TEST_F(PanicFade, CarriesOnThroughALoopRestartAndDoesNotLoopAfterIt) {
  bindFile("/j/three.wav", 3);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(2000ms);
  cart.fadeOutAndStop(2000);
  // The loop restarts at 2.55 s (the nearest second reaches 3), dropping
  // what waited of the fade: silence still falls at 4 s.
  advanceTo(3990ms);
  EXPECT_TRUE(cart.Playing());
  advanceTo(4100ms);
  EXPECT_FALSE(cart.Playing());
  const std::vector<std::int16_t> heard = player().heardLeft();
  EXPECT_EQ(static_cast<FrameCount>(heard.size()), framesOf(4));
  EXPECT_LE(std::abs(heard.back()), 1);
}

TEST_F(PanicFade, TheEndOfTheFileComesFirstUnlessTheCartLoops) {
  bindAndPlay("/j/ten.wav", 10);
  advanceTo(9000ms);
  cart.fadeOutAndStop(2000);
  advanceTo(10100ms);
  EXPECT_FALSE(cart.Playing());  // stopped at its end
  EXPECT_EQ(static_cast<FrameCount>(player().heardLeft().size()), framesOf(10));

  // Looping, it restarts at 9.5 s as usual and the fade carries on into the
  // next round: 11 s heard in all, and no restart after the fade.
  CartTestEngine engine2;
  Cartouche looping{engine2};
  quillon::test::FakeFile file;
  file.frames = framesOf(10);
  engine2.media.add("/j/ten.wav", file);
  ASSERT_TRUE(looping.SetTitle("/j/ten.wav"));
  looping.Setloop(1);
  looping.playClick();
  engine2.clock.advance(9000ms);
  looping.fadeOutAndStop(2000);
  engine2.clock.advance(1990ms);
  EXPECT_TRUE(looping.Playing());
  engine2.clock.advance(100ms);
  EXPECT_FALSE(looping.Playing());
  EXPECT_EQ(static_cast<FrameCount>(engine2.lastPlayer->heardLeft().size()), framesOf(11));
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

TEST_F(PanicFade, StopAtOnceAndAFreshStartEndTheFade) {
  bindAndPlay("/j/ten.wav", 10);
  advanceTo(1000ms);
  cart.fadeOutAndStop(2000);
  advanceTo(1500ms);
  cart.stopPlaying();
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.fadingOut());
  EXPECT_EQ(cart.GetTitle(), "/j/ten.wav");

  cart.playClick();
  cart.fadeOutAndStop(2000);
  cart.playClick();  // started again: plays on at its volume
  EXPECT_FALSE(cart.fadingOut());
  advance(4000ms);
  EXPECT_TRUE(cart.Playing());
}

TEST_F(PanicFade, APauseHoldsTheFadeAndTheResumeTakesItOn) {
  bindAndPlay("/j/ten.wav", 10);
  advanceTo(1000ms);
  cart.fadeOutAndStop(2000);
  advanceTo(2000ms);
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
