// The loop and the fades of a cart: the ramps' rules against the design's
// figures, the gain stage that applies them frame by frame, and playback on
// the simulated player stepped by the manual clock: every frame of every
// pass heard, the running time back at 00:00 at each seam, the loop switched
// while a seam is queued.
#include <cmath>

#include "audio/gain.h"
#include "cart/displayvalues.h"
#include "cart/fades.h"
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using quillon::test::FakeMedia;

using LoopsAndFades = CartTest;

// --- The ramps' rules ---

// The fade as a Timer would read it at whole seconds of play (44.1 kHz): the
// thirds of the volume, and silence from the last frame on.
TEST(Fades, RampsPassTheThirdsOfTheVolumeAtWholeSeconds) {
  struct Step {
    double seconds;
    bool active;
    int gain;
  };
  const struct {
    const char* name;
    FadeSettings settings;
    double fileSeconds;
    std::vector<Step> steps;
  } cases[] = {
      {"fade-in, 10 s at 100",
       {10, 100, true, false},
       10,
       {{0, true, 0}, {1, true, 33}, {2, true, 67}, {3, true, 100}, {4, false, 100}}},
      {"fade-out, 10 s at 90",
       {10, 90, false, true},
       10,
       {{0, false, 90},
        {6.9, false, 90},
        {7, true, 90},
        {8, true, 60},
        {9, true, 30},
        {10, true, 0},
        {11, true, 0}}},
      {"both, 20 s",
       {20, 100, true, true},
       20,
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
       6,
       {{0, true, 0}, {1.5, true, 50}, {3, true, 100}, {4, true, 67}, {5, true, 33}}},
      // Halfway through each: half the volume, not a stair.
      {"halfway, 10 s at 80", {10, 80, true, true}, 10, {{1.5, true, 40}, {8.5, true, 40}}},
      // Below six seconds the switches change nothing.
      {"both, 4 s", {4, 80, true, true}, 4, {{0, false, 80}, {2, false, 80}, {4, false, 80}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const audio::FadeRamp ramp = fadeRampFor(c.settings, framesOf(c.fileSeconds), 44100);
    for (const auto& s : c.steps) {
      EXPECT_EQ(fadeAt(c.settings, ramp, framesOf(s.seconds)), (FadeState{s.active, s.gain}))
          << "at " << s.seconds << " s";
    }
  }
}

TEST(Fades, TheFadeOutFollowsTheTrueEndOfAFileOfNoWholeSeconds) {
  // 10.4 s (length 10): silence on its last frame, not 0.4 s before it, and
  // the thirds one and two seconds before that end.
  const FadeSettings settings{10, 100, false, true};
  const audio::FrameCount total = framesOf(10.4);
  const audio::FadeRamp ramp = fadeRampFor(settings, total, 44100);
  EXPECT_DOUBLE_EQ(ramp.at(total - 1), 0.0);
  EXPECT_NEAR(ramp.at(total - 1 - framesOf(1)), 1.0 / 3, 1e-9);
  EXPECT_NEAR(ramp.at(total - 1 - framesOf(2)), 2.0 / 3, 1e-9);
  EXPECT_EQ(fadeAt(settings, ramp, framesOf(10)).gain, 13);  // 0.4 s to go: 0.4 / 3
  EXPECT_DOUBLE_EQ(ramp.at(total - 1 - framesOf(3)), 1.0);
  // A 4 s file, or a 48 kHz one: ramps of three seconds of its own frames.
  EXPECT_TRUE(fadeRampFor({4, 100, true, true}, framesOf(4), 44100).none());
  EXPECT_EQ(fadeRampFor({10, 100, true, false}, 480000, 48000).fadeInFrames, 144000);
}

// --- The gain stage ---

audio::AudioBlock constantBlock(std::int16_t value, FrameCount frames) {
  audio::AudioBlock b;
  b.samples.assign(static_cast<std::size_t>(frames * 2), value);
  return b;
}

TEST(GainStage, ScalesFrameByFrameAlongTheRampAndWrapsIntoTheNextPass) {
  // A 10-frame pass with 4-frame ramps: 0, 1/4, 2/4, 3/4, 1, 1, 3/4, 2/4, 1/4, 0.
  const audio::FadeRamp ramp{10, 4, 4};
  audio::Gain gain;
  audio::AudioBlock block = constantBlock(8000, 14);
  gain.applyInPlace(block, 50.f, ramp, 6);  // from frame 6, on into the next pass
  const std::int16_t want[] = {3000, 2000, 1000, 0,    0,    1000, 2000,
                               3000, 4000, 4000, 3000, 2000, 1000, 0};
  for (std::size_t f = 0; f < std::size(want); ++f) {
    EXPECT_EQ(block.samples[2 * f], want[f]) << f;
    EXPECT_EQ(block.samples[2 * f + 1], want[f]) << f;
  }
}

TEST(GainStage, AVolumeChangeGlidesAlongTheRampWhileTheRampAloneNeverGlides) {
  const audio::FadeRamp ramp{44100 * 10, 44100 * 3, 0};
  audio::Gain gain;
  audio::AudioBlock first = constantBlock(30000, 4410);
  gain.applyInPlace(first, 100.f, ramp, 44100);
  // The next block goes on exactly along the ramp: no glide at its start.
  audio::AudioBlock next = constantBlock(30000, 4410);
  gain.applyInPlace(next, 100.f, ramp, 44100 + 4410);
  for (FrameCount f = 0; f < 4410; ++f) {
    ASSERT_NEAR(next.samples[2 * static_cast<std::size_t>(f)], 30000 * ramp.at(44100 + 4410 + f),
                0.5)
        << f;
  }
  // Half the volume: a 5 ms glide (220 frames) down to half the ramp.
  audio::AudioBlock halved = constantBlock(30000, 4410);
  gain.applyInPlace(halved, 50.f, ramp, 44100 + 8820);
  const double before = 30000 * ramp.at(44100 + 8820 - 1);
  EXPECT_NEAR(halved.samples[0], before - (before - 15000 * ramp.at(44100 + 8820)) / 220, 1.0);
  for (FrameCount f = 220; f < 4410; ++f) {
    ASSERT_NEAR(halved.samples[2 * static_cast<std::size_t>(f)], 15000 * ramp.at(44100 + 8820 + f),
                0.5)
        << f;
  }
}

// True when the heard frames are the file's own from `first` on, scaled by
// `volume` percent and the cart's fade ramps (within the rounding of one
// step), a loop going on at frame 0 after the last of `total`.
::testing::AssertionResult heardAlongRamps(const std::vector<std::int16_t>& heard, FrameCount first,
                                           FrameCount total, double volume,
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

// --- Fades and volume: the ramps as heard ---

TEST_F(LoopsAndFades, FadesAreLinearRampsFromSilenceAndBackToSilenceOnTheLastFrame) {
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

TEST_F(LoopsAndFades, APauseOrAVolumeChangeInsideAFadeGoesOnAlongTheRamp) {
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

// --- The loop ---

// Files shorter than half a second (length 0) loop the same way; their
// seams come too fast to read the running time at.
TEST_F(LoopsAndFades, ALoopPlaysEveryFrameOfEveryPassWithNoGapAndRestartsTheRunningTime) {
  for (const double seconds : {10.4, 2.4, 1.4, 1.0, 0.3, 0.004}) {
    SCOPED_TRACE(seconds);
    bindFile("/j/bed.wav", seconds);
    cart.Setloop(1);
    const auto startedAt = engine.clock.now();
    cart.playClick();
    const std::size_t run = player().runs().size() - 1;
    const FrameCount total = framesOf(seconds);
    const bool seamsReadable = seconds >= 1;
    if (seamsReadable) {
      // Just before the third seam, and just after it.
      const auto seam = startedAt + std::chrono::milliseconds(std::lround(3000 * seconds));
      advanceTo(seam - 50ms);
      EXPECT_EQ(cart.look().runningTime, runningTimeText(std::lround(1000 * seconds) - 50));
      advanceTo(seam + 50ms);
      EXPECT_EQ(cart.look().runningTime, "00:00");
      EXPECT_NEAR(cart.look().thumbLeft, thumbLeftFor(framesOf(0.05), total), 1.0);
    } else {
      EXPECT_EQ(cart.LengthSeconds(), 0);
    }
    // Five passes, or three seconds of a short file.
    const double playSeconds = seamsReadable ? 5 * seconds : 3;
    advanceTo(startedAt + std::chrono::milliseconds(std::lround(1000 * playSeconds)));
    EXPECT_TRUE(cart.Playing());
    // One run: never reset, never dry; the file over and over.
    ASSERT_EQ(player().runs().size(), run + 1);
    EXPECT_EQ(player().UnderrunCount(), 0);
    const std::vector<std::int16_t> heard = player().heardLeft();
    const FrameCount played = player().PlayedSamples();
    EXPECT_EQ(played, seamsReadable ? 5 * total : framesOf(3));
    const std::vector<std::int16_t> thisRun(heard.end() - played, heard.end());
    EXPECT_TRUE(thisRun == looped(total, played));
    cart.stopClick();
  }
}

TEST_F(LoopsAndFades, EveryPassOfALoopHasItsFades) {
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

TEST_F(LoopsAndFades, LoopOffWithTheNextPassQueuedEndsAtTheFileEnd) {
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

TEST_F(LoopsAndFades, LoopOnWithTheEndAlreadyQueuedGoesOnIntoTheNextPass) {
  bindAndPlay("/j/sting.wav", 2.4);
  advanceTo(2300ms);  // the end is marked
  cart.Setloop(1);
  advanceTo(5000ms);
  EXPECT_TRUE(cart.Playing());
  const std::vector<std::int16_t> heard = player().heardLeft();
  EXPECT_TRUE(heard == looped(framesOf(2.4), framesOf(5)));
}

TEST_F(LoopsAndFades, PauseAndJumpInALoopCountFromThePassStart) {
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

}  // namespace
}  // namespace quillon::cart::test
