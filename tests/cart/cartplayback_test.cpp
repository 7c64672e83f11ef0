// Playback end to end on the simulated player, stepped by the manual clock:
// what the player was given and what was heard, the loop, the fades, pause
// and resume.
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

// The successive gains heard, each once, leaving out blocks too short to
// measure.
std::vector<int> gainSteps(const std::vector<int>& blockGains) {
  std::vector<int> steps;
  for (const int g : blockGains) {
    if (g >= 0 && (steps.empty() || steps.back() != g)) steps.push_back(g);
  }
  return steps;
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

// --- Fades and volume: the gains as set, and as heard ---

// The steps themselves are pinned in rules_test.cpp; here, that they are heard.
TEST_F(CartPlayback, FadesRiseAndFallInThirdsOfTheVolume) {
  bindFile("/j/ten.wav", 10);
  cart.SetVolume(90);
  cart.SetFadein(1);
  cart.SetFadeout(1);
  cart.playClick();
  advance(10100ms);
  // Heard: silence first, then each third in turn, the volume, and back down.
  const std::vector<int> gains = player().blockGains(0, 0);
  EXPECT_EQ(gainSteps(gains), (std::vector<int>{0, 30, 60, 90, 60, 30, 0}));
  // Blocks of 0.1 s, each step heard within half a second of its second.
  const std::pair<std::size_t, int> heardAt[] = {{5, 0},   {15, 30}, {25, 60}, {35, 90},
                                                 {74, 90}, {84, 60}, {94, 30}, {99, 0}};
  ASSERT_EQ(gains.size(), 100u);
  for (const auto& [block, gain] : heardAt) EXPECT_EQ(gains[block], gain) << block;

  bindAndPlay("/j/short.wav", 5.4);  // 5 whole seconds: too short to fade
  advance(1s);
  EXPECT_EQ(gainSteps(player().blockGains(1, 0)), std::vector<int>{90});
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

TEST_F(CartPlayback, ATenPointFourSecondLoopRestartsFromNinePointFive) {
  bindFile("/j/bed.wav", 10.4);
  ASSERT_EQ(cart.LengthSeconds(), 10);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(9450ms);
  EXPECT_EQ(player().runs().size(), 1u);
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
}

TEST_F(CartPlayback, ALoopOrANewStartBeginsAtTheVolumeOrFromSilenceWithTheFadeIn) {
  bindFile("/j/ten.wav", 10);
  cart.SetFadein(1);
  cart.Setloop(1);
  cart.playClick();
  advanceTo(9500ms);
  ASSERT_EQ(player().runs().size(), 2u);  // restarted, rising again
  EXPECT_TRUE(cart.FadeActive());
  EXPECT_EQ(cart.FadeGain(), 0);
  EXPECT_EQ(player().blockGains(1, 0)[0], 0);

  cart.SetVolume(90);
  cart.SetFadein(0);
  cart.SetFadeout(1);
  advanceTo(20000ms);  // restarted at 19 s with the fade-out at 0
  ASSERT_EQ(player().runs().size(), 3u);
  EXPECT_FALSE(cart.FadeActive());
  for (const int g : player().blockGains(2, 0)) EXPECT_EQ(g, 90);

  cart.Setloop(0);
  advanceTo(29200ms);  // faded out to 0 and stopped
  ASSERT_FALSE(cart.Playing());
  ASSERT_EQ(cart.FadeGain(), 0);
  cart.playClick();
  advance(500ms);
  for (const int g : player().blockGains(player().runs().size() - 1, 0)) EXPECT_EQ(g, 90);
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
