// Playback end to end on the simulated player, stepped by the manual clock:
// what the player was given and what was heard, the loop, the fades, pause
// and resume.
#include "cartfixture.h"
#include "cart/displayvalues.h"

namespace quillon::cart::test {
namespace {

using quillon::test::FakeMedia;

using CartPlayback = CartTest;

// True when the heard frames are the file's frames from `first` on, in order,
// with nothing skipped or repeated (only at gain 100).
::testing::AssertionResult heardInOrder(const std::vector<std::int16_t>& heard, FrameCount first,
                                        FrameCount count) {
  if (static_cast<FrameCount>(heard.size()) != count) {
    return ::testing::AssertionFailure() << heard.size() << " frames heard, not " << count;
  }
  for (FrameCount i = 0; i < count; ++i) {
    if (heard[static_cast<std::size_t>(i)] != FakeMedia::sampleAt(first + i, 0)) {
      return ::testing::AssertionFailure() << "frame " << i << " heard out of order";
    }
  }
  return ::testing::AssertionSuccess();
}

// True when the heard frames are the file's own from `first` on, scaled by
// `volume` percent and the cart's fade ramps (within the rounding of one
// step), a loop going on at frame 0 after the last of `total`.
::testing::AssertionResult heardAlongRamps(const std::vector<std::int16_t>& heard,
                                           FrameCount first, FrameCount total, double volume,
                                           const audio::FadeRamp& ramp) {
  for (std::size_t i = 0; i < heard.size(); ++i) {
    const FrameCount frame = (first + static_cast<FrameCount>(i)) % total;
    const double expected = FakeMedia::sampleAt(frame, 0) * volume / 100 * ramp.at(frame);
    if (std::abs(heard[i] - expected) > 1.0) {
      return ::testing::AssertionFailure() << "frame " << i << " (" << frame << " of the file) is "
                                           << heard[i] << ", not " << expected;
    }
  }
  return ::testing::AssertionSuccess();
}

// The file played `passes` times over, frame for frame.
std::vector<std::int16_t> looped(FrameCount total, FrameCount frames) {
  std::vector<std::int16_t> out;
  for (FrameCount f = 0; f < frames; ++f) out.push_back(FakeMedia::sampleAt(f % total, 0));
  return out;
}

TEST_F(CartPlayback, PlaysAFileThroughToItsEndAndStops) {
  bindAndPlay("/j/one.wav", 1.0);
  EXPECT_EQ(cart.BlockSamples(), 4410);
  ASSERT_EQ(player().runs().size(), 1u);
  EXPECT_EQ(player().runs()[0].blocks.size(), 2u);  // two blocks wait at the start
  EXPECT_EQ(cart.look().background, Background::Play);

  advance(1100ms);
  expectStopped();
  EXPECT_EQ(cart.look().runningTime, "00:00");
  EXPECT_TRUE(cart.look().trace.empty());
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 0.0f);
  EXPECT_TRUE(heardInOrder(player().heardLeft(), 0, 44100));
  EXPECT_EQ(player().underruns(), 0);
}

// --- Fades and volume: the ramps as heard ---

TEST_F(CartPlayback, FadesAreLinearRampsFromSilenceAndBackToSilenceOnTheLastFrame) {
  bindFile("/j/ten.wav", 10.3);
  cart.SetVolume(90);
  cart.SetFadein(1);
  cart.SetFadeout(1);
  cart.playClick();
  advance(10500ms);
  ASSERT_FALSE(cart.Playing());
  const std::vector<std::int16_t> heard = player().heardLeft();
  ASSERT_EQ(static_cast<FrameCount>(heard.size()), framesOf(10.3));
  const audio::FadeRamp ramp{framesOf(10.3), framesOf(3), framesOf(3)};
  EXPECT_TRUE(heardAlongRamps(heard, 0, framesOf(10.3), 90, ramp));
  EXPECT_EQ(heard.front(), 0);
  EXPECT_EQ(heard.back(), 0);
  // The Part's thirds at one and two seconds in, and before the true end.
  EXPECT_NEAR(ramp.at(framesOf(1)), 1.0 / 3, 1e-4);
  EXPECT_NEAR(ramp.at(framesOf(10.3) - 1 - framesOf(1)), 1.0 / 3, 1e-4);

  bindAndPlay("/j/short.wav", 5.4);  // 5 whole seconds: too short to fade
  advance(5500ms);
  const std::vector<std::int16_t> all = player().heardLeft();
  EXPECT_TRUE(heardAlongRamps({all.end() - framesOf(5.4), all.end()}, 0, framesOf(5.4), 90, {}));
}

TEST_F(CartPlayback, APauseOrAVolumeChangeInsideAFadeGoesOnAlongTheRamp) {
  bindFile("/j/ten.wav", 10);
  cart.SetFadein(1);
  cart.playClick();
  advanceTo(1200ms);
  cart.pauseClick();
  advance(3s);
  cart.pauseClick();  // resumes at 1.2 s of the file, 40 % up the ramp
  advance(300ms);
  const audio::FadeRamp ramp{framesOf(10), framesOf(3), 0};
  EXPECT_TRUE(heardAlongRamps(player().heardLeft(), 0, framesOf(10), 100, ramp));
  EXPECT_EQ(cart.FadeGain(), 50);  // 1.5 s in
  EXPECT_TRUE(cart.FadeActive());

  cart.SetVolume(50);
  advance(2s);
  // Past what was queued and the glide: half the ramp.
  const std::vector<std::int16_t> heard = player().heardLeft();
  const FrameCount from = framesOf(2.2);
  EXPECT_TRUE(heardAlongRamps({heard.begin() + from, heard.end()}, from, framesOf(10), 50, ramp));
}

TEST_F(CartPlayback, VolumeChangedWhilePlayingIsHeardFromTheNextBlocks) {
  bindAndPlay("/j/five.wav", 5);
  advance(1000ms);
  const std::size_t before = player().runs()[0].blocks.size();
  cart.SetVolume(40);
  advance(1000ms);
  const std::vector<int> gains = player().blockGains(0, 0);
  for (std::size_t i = 0; i < gains.size(); ++i) EXPECT_EQ(gains[i], i < before ? 100 : 40) << i;
  EXPECT_EQ(player().runs().size(), 1u);  // no pause, no restart
}

// --- The loop ---

TEST_F(CartPlayback, ALoopPlaysEveryFrameOfEveryPassWithNoGapAndRestartsTheRunningTime) {
  for (const double seconds : {10.4, 2.4, 1.4, 1.0}) {
    SCOPED_TRACE(seconds);
    bindFile("/j/bed.wav", seconds);
    cart.Setloop(1);
    const auto startedAt = engine.clock.now();
    cart.playClick();
    const std::size_t run = player().runs().size() - 1;
    const FrameCount total = framesOf(seconds);
    // Just before the third seam, and just after it.
    const auto seam = startedAt + std::chrono::milliseconds(std::lround(3000 * seconds));
    advanceTo(seam - 50ms);
    EXPECT_EQ(cart.look().runningTime, runningTimeText(std::lround(1000 * seconds) - 50));
    advanceTo(seam + 50ms);
    EXPECT_EQ(cart.look().runningTime, "00:00");
    EXPECT_NEAR(cart.look().thumbLeft, thumbLeftFor(framesOf(0.05), total), 1.0);
    advanceTo(startedAt + std::chrono::milliseconds(std::lround(5000 * seconds)));
    EXPECT_TRUE(cart.Playing());
    // One run: never reset, never dry; the file five times over.
    ASSERT_EQ(player().runs().size(), run + 1);
    EXPECT_EQ(player().UnderrunCount(), 0);
    const std::vector<std::int16_t> heard = player().heardLeft();
    const FrameCount played = player().PlayedSamples();
    EXPECT_EQ(played, 5 * total);
    const std::vector<std::int16_t> thisRun(heard.end() - played, heard.end());
    EXPECT_TRUE(thisRun == looped(total, 5 * total));
    cart.stopClick();
  }
}

TEST_F(CartPlayback, AFileShorterThanHalfASecondLoopsTheSameWay) {
  for (const double seconds : {0.3, 0.004}) {
    SCOPED_TRACE(seconds);
    bindFile("/j/blip.wav", seconds);
    ASSERT_EQ(cart.LengthSeconds(), 0);
    cart.Setloop(1);
    cart.playClick();
    advance(3s);
    EXPECT_TRUE(cart.Playing());
    const FrameCount played = player().PlayedSamples();
    EXPECT_EQ(played, framesOf(3));
    const std::vector<std::int16_t> heard = player().heardLeft();
    EXPECT_TRUE(std::vector<std::int16_t>(heard.end() - played, heard.end()) ==
                looped(framesOf(seconds), played));
    EXPECT_EQ(player().UnderrunCount(), 0);
    cart.stopClick();
  }
}

TEST_F(CartPlayback, EveryPassOfALoopHasItsFades) {
  bindFile("/j/ten.wav", 10);
  cart.SetFadein(1);
  cart.SetFadeout(1);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(11000ms);
  EXPECT_TRUE(cart.FadeActive());
  EXPECT_EQ(cart.FadeGain(), 33);
  advanceTo(25000ms);
  ASSERT_EQ(player().runs().size(), 1u);
  const audio::FadeRamp ramp{framesOf(10), framesOf(3), framesOf(3)};
  EXPECT_TRUE(heardAlongRamps(player().heardLeft(), 0, framesOf(10), 100, ramp));

  // Fade-in only: the next pass starts from silence again.
  cart.SetFadeout(0);
  advanceTo(45000ms);
  const std::vector<std::int16_t> heard = player().heardLeft();
  const FrameCount from = framesOf(30);
  EXPECT_TRUE(heardAlongRamps({heard.begin() + from, heard.end()}, 0, framesOf(10), 100,
                              {framesOf(10), framesOf(3), 0}));
}

TEST_F(CartPlayback, LoopOffWithTheNextPassQueuedEndsAtTheFileEnd) {
  bindFile("/j/sting.wav", 2.4);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(2300ms);  // the next pass's first blocks wait at the player
  cart.Setloop(0);
  advanceTo(3000ms);
  expectStopped();
  // Heard: the file once, with nothing lost or repeated where its queue was dropped.
  EXPECT_TRUE(heardInOrder(player().heardLeft(), 0, framesOf(2.4)));

  // Off and on again within the pass: it loops.
  cart.playClick();
  cart.Setloop(1);
  cart.Setloop(0);
  cart.Setloop(1);
  advance(6s);
  EXPECT_TRUE(cart.Playing());
}

TEST_F(CartPlayback, LoopOnWithTheEndAlreadyQueuedGoesOnIntoTheNextPass) {
  bindAndPlay("/j/sting.wav", 2.4);
  advanceTo(2300ms);  // the end is marked
  cart.Setloop(1);
  advanceTo(5000ms);
  EXPECT_TRUE(cart.Playing());
  const std::vector<std::int16_t> heard = player().heardLeft();
  EXPECT_TRUE(heard == looped(framesOf(2.4), framesOf(5)));
}

TEST_F(CartPlayback, PauseAndJumpInALoopCountFromThePassStart) {
  bindFile("/j/bed.wav", 10.4);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(12000ms);
  cart.pauseClick();
  EXPECT_EQ(cart.SampleOffset(), framesOf(1.6));
  cart.pauseClick();
  advance(1000ms);
  EXPECT_EQ(cart.look().runningTime, "00:02");
  EXPECT_TRUE(player().heardLeft() == looped(framesOf(10.4), framesOf(13)));
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(1245.0f - cart.look().thumbLeft, 60);  // to 99 %
  cart.thumbRelease();
  advance(1000ms);
  EXPECT_TRUE(cart.Playing());
  EXPECT_EQ(cart.look().runningTime, "00:00");
}

// --- Pause and resume ---

TEST_F(CartPlayback, PauseAndResumeGoOnFromTheFrameWherePlayStopped) {
  bindAndPlay("/j/long.wav", 30);
  advanceTo(12300ms);
  listener.changes.clear();
  cart.pauseClick();
  EXPECT_TRUE(cart.Paused());
  EXPECT_TRUE(cart.Playing());  // a paused cart is still playing
  EXPECT_EQ(cart.SampleOffset(), framesOf(12.3));
  // The playing background, with the paused mark.
  EXPECT_EQ(cart.look().background, Background::Play);
  EXPECT_TRUE(cart.look().paused);
  EXPECT_EQ(listener.changesWith(kBackgroundPart), 1);
  advance(5s);
  EXPECT_EQ(cart.look().runningTime, "00:12");  // stands still

  cart.pauseClick();
  EXPECT_FALSE(cart.look().paused);
  advance(750ms);
  EXPECT_EQ(cart.look().runningTime, "00:13");
  // The sound goes on from the very frame it paused at.
  EXPECT_TRUE(heardInOrder(player().heardLeft(), 0, framesOf(12.3) + framesOf(0.75)));
  // A second pause adds exactly what was played since.
  cart.pauseClick();
  EXPECT_EQ(cart.SampleOffset(), framesOf(12.3) + framesOf(0.75));
}

TEST_F(CartPlayback, PauseAfterTheLastBlockStillEndsAtResume) {
  bindAndPlay("/j/one.wav", 1.0);
  advance(900ms);  // the end is marked: nothing more to read
  cart.pauseClick();
  advance(1s);
  EXPECT_TRUE(cart.Playing());
  cart.pauseClick();
  advance(300ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_TRUE(heardInOrder(player().heardLeft(), 0, 44100));
}

}  // namespace
}  // namespace quillon::cart::test
