// Playback end to end on the simulated player, stepped by the manual clock:
// what the player was given and what was heard, the volume, pause and
// resume. The loop and the fades: loopsfades_test.cpp.
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using quillon::test::FakeMedia;

using CartPlayback = CartTest;

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

// --- Volume ---

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
