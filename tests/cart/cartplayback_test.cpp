// Playback end to end on the simulated player, stepped by the manual clock:
// what the player was given and what was heard, the loop, the fades, pause
// and resume.
#include <algorithm>

#include "cartfixture.h"

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

TEST_F(CartPlayback, PlaysAFileThroughToItsEndAndStops) {
  bindFile("/j/one.wav", 1.0);
  cart.playClick();
  EXPECT_TRUE(cart.Playing());
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

TEST_F(CartPlayback, RunningTimeTraceAndThumbWhilePlaying) {
  bindAndPlay("/j/three.wav", 3.0);
  advance(1000ms);
  EXPECT_EQ(cart.look().runningTime, "00:01");
  EXPECT_EQ(cart.look().trace.size(), 64u);
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 415.0f);  // a third of 1245
  advance(500ms);
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 622.5f);
  advance(450ms);
  EXPECT_EQ(cart.look().runningTime, "00:01");  // 1.95 s: rounded down
  advance(50ms);
  EXPECT_EQ(cart.look().runningTime, "00:02");
}

// --- Fades: the gains as set, and as heard ---

// The successive gains heard, each once, leaving out blocks too short to
// measure.
std::vector<int> gainSteps(const std::vector<int>& blockGains) {
  std::vector<int> steps;
  for (const int g : blockGains) {
    if (g >= 0 && (steps.empty() || steps.back() != g)) steps.push_back(g);
  }
  return steps;
}

struct GainAt {
  std::chrono::milliseconds time;
  bool active;
  int gain;
};

void expectGains(CartTest& t, std::initializer_list<GainAt> table) {
  for (const GainAt& g : table) {
    t.advanceTo(g.time);
    EXPECT_EQ(t.cart.FadeActive(), g.active) << g.time.count() << " ms";
    EXPECT_EQ(t.cart.FadeGain(), g.gain) << g.time.count() << " ms";
  }
}

TEST_F(CartPlayback, FadeInRisesInThirdsOverTheFirstThreeSeconds) {
  bindFile("/j/ten.wav", 10);
  cart.SetFadein(1);
  cart.playClick();
  EXPECT_TRUE(cart.FadeActive());
  EXPECT_EQ(cart.FadeGain(), 0);
  expectGains(*this,
              {{200ms, true, 0}, {1000ms, true, 33}, {3000ms, true, 100}, {4000ms, false, 100}});
  // Heard: silence first, then each third in turn, then the volume.
  const std::vector<int> gains = player().blockGains(0, 0);
  ASSERT_GE(gains.size(), 10u);
  EXPECT_EQ(gains[0], 0);
  EXPECT_EQ(gains[1], 0);
  EXPECT_EQ(gainSteps(gains), (std::vector<int>{0, 33, 67, 100}));
}

TEST_F(CartPlayback, FadeOutFallsToSilenceOverTheLastThreeSeconds) {
  bindFile("/j/ten.wav", 10);
  cart.SetVolume(90);
  cart.SetFadeout(1);
  cart.playClick();
  expectGains(*this, {{6000ms, false, 90}, {7000ms, true, 90}, {10000ms, true, 0}});
  advance(100ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_EQ(gainSteps(player().blockGains(0, 0)), (std::vector<int>{90, 60, 30, 0}));
}

TEST_F(CartPlayback, AFourSecondFileIgnoresItsFades) {
  bindFile("/j/four.wav", 4);
  cart.SetVolume(80);
  cart.SetFadein(1);
  cart.SetFadeout(1);
  cart.playClick();
  EXPECT_FALSE(cart.FadeActive());
  advance(4200ms);
  const std::vector<int> gains = player().blockGains(0, 0);
  ASSERT_EQ(gains.size(), 40u);
  for (const int g : gains) EXPECT_EQ(g, 80);
}

TEST_F(CartPlayback, VolumeChangedWhilePlayingIsHeardFromTheNextBlocks) {
  bindAndPlay("/j/five.wav", 5);
  advance(1000ms);
  const std::size_t before = player().runs()[0].blocks.size();
  cart.SetVolume(40);
  advance(1000ms);
  const std::vector<int> gains = player().blockGains(0, 0);
  for (std::size_t i = 0; i < before; ++i) EXPECT_EQ(gains[i], 100) << i;
  for (std::size_t i = before; i < gains.size(); ++i) EXPECT_EQ(gains[i], 40) << i;
  EXPECT_EQ(player().runs().size(), 1u);  // no pause, no restart
}

// --- The loop ---

TEST_F(CartPlayback, ATenPointFourSecondLoopRestartsFromNinePointFive) {
  bindFile("/j/bed.wav", 10.4);
  ASSERT_EQ(cart.LengthSeconds(), 10);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(9450ms);
  EXPECT_EQ(player().runs().size(), 1u);
  EXPECT_EQ(cart.look().runningTime, "00:09");
  advanceTo(9500ms);
  ASSERT_EQ(player().runs().size(), 2u);  // restarted at 9.5 s
  EXPECT_EQ(player().runs()[0].played, framesOf(9.5));
  EXPECT_EQ(cart.SampleOffset(), 0);
  advanceTo(9550ms);
  EXPECT_EQ(cart.look().runningTime, "00:00");
  EXPECT_LT(cart.look().thumbLeft, 10.0f);
  // Heard: 9.5 s of the file, then the file again from its first frame.
  const std::vector<std::int16_t> heard = player().heardLeft();
  const std::vector<std::int16_t> head(heard.begin(), heard.begin() + framesOf(9.5));
  const std::vector<std::int16_t> again(heard.begin() + framesOf(9.5), heard.end());
  EXPECT_TRUE(heardInOrder(head, 0, framesOf(9.5)));
  EXPECT_TRUE(heardInOrder(again, 0, framesOf(0.05)));
  EXPECT_TRUE(cart.Playing());
}

TEST_F(CartPlayback, ALoopOrANewStartAfterTheFadeOutBeginsAtTheVolume) {
  bindFile("/j/ten.wav", 10);
  cart.SetVolume(90);
  cart.SetFadeout(1);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(10500ms);  // restarted at 9.5 s with the fade at 0
  ASSERT_EQ(player().runs().size(), 2u);
  EXPECT_FALSE(cart.FadeActive());
  for (const int g : player().blockGains(1, 0)) EXPECT_EQ(g, 90);

  cart.Setloop(0);
  advanceTo(20200ms);  // faded out to 0 and stopped
  ASSERT_FALSE(cart.Playing());
  ASSERT_EQ(cart.FadeGain(), 0);
  cart.playClick();
  advance(500ms);
  const std::vector<int> gains = player().blockGains(player().runs().size() - 1, 0);
  ASSERT_GE(gains.size(), 3u);
  for (const int g : gains) EXPECT_EQ(g, 90);
}

TEST_F(CartPlayback, ALoopWithFadeInRisesFromSilenceAgain) {
  bindFile("/j/ten.wav", 10);
  cart.SetFadein(1);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(9500ms);
  ASSERT_EQ(player().runs().size(), 2u);
  EXPECT_TRUE(cart.FadeActive());
  EXPECT_EQ(cart.FadeGain(), 0);
  advanceTo(10500ms);
  EXPECT_EQ(cart.FadeGain(), 33);
  EXPECT_EQ(player().blockGains(1, 0)[0], 0);
}

TEST_F(CartPlayback, AFileShorterThanHalfASecondLoopsAtItsEndOnly) {
  bindFile("/j/blip.wav", 0.3);
  ASSERT_EQ(cart.LengthSeconds(), 0);
  cart.Setloop(1);
  cart.playClick();
  advance(3s);
  EXPECT_TRUE(cart.Playing());
  const auto& runs = player().runs();
  ASSERT_GE(runs.size(), 8u);
  ASSERT_LE(runs.size(), 11u);
  for (std::size_t i = 0; i + 1 < runs.size(); ++i) {
    EXPECT_EQ(runs[i].played, framesOf(0.3)) << "loop " << i << " cut short";
  }
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
  EXPECT_FALSE(cart.Paused());
  EXPECT_FALSE(cart.look().paused);
  advance(50ms);
  EXPECT_EQ(cart.look().runningTime, "00:12");
  advance(700ms);
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
