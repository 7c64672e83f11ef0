// The cart's controls as the view forwards them: buttons, the pause light,
// the position thumb and drops. The knob's and thumb's own arithmetic is pinned
// in rules_test.cpp; here, what the cart makes of it.
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

TEST_F(CartControls, ButtonsOfAnEmptyOrIdleCartDoNothing) {
  cart.playClick();
  EXPECT_EQ(media().readerOpens, 0);
  bindFile("/j/a.wav", 10);
  listener.changes.clear();
  cart.stopClick();
  cart.pauseClick();
  EXPECT_TRUE(listener.changes.empty());
  EXPECT_FALSE(cart.Paused() || cart.Playing());
}

TEST_F(CartControls, PlayOnAPlayingOrPausedCartStartsAgainFromTheBeginning) {
  bindAndPlay("/j/a.wav", 10);
  for (const bool paused : {false, true}) {
    advance(2s);
    if (paused) cart.pauseClick();
    cart.playClick();
    EXPECT_FALSE(cart.Paused());
    EXPECT_TRUE(cart.Playing());
    EXPECT_EQ(cart.SampleOffset(), 0);
    EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(0, 0)) << paused;
  }
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
  EXPECT_FALSE(cart.look().pauseLit);
}

// --- Position thumb ---

TEST_F(CartControls, TheHeldThumbStaysWhereTheOperatorPutsItUntilTheRelease) {
  bindAndPlay("/j/long.wav", 30);
  advance(1s);
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(900, 60);
  const float held = cart.look().thumbLeft;
  advance(2s);
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, held);
  EXPECT_EQ(cart.look().runningTime, "00:03");  // playback goes on meanwhile
  EXPECT_EQ(cart.SampleOffset(), 0);
  cart.thumbRelease();

  // Pressed and released without moving: a jump to where it stands.
  cart.playClick();
  advanceTo(engine.clock.now() + 10000ms);
  ASSERT_FLOAT_EQ(cart.look().thumbLeft, 415.0f);
  ASSERT_TRUE(cart.thumbPress(35));
  cart.thumbRelease();
  EXPECT_NEAR(static_cast<double>(cart.SampleOffset()), framesOf(10), 2.0);
  advance(1000ms);
  EXPECT_EQ(cart.look().runningTime, "00:11");
}

TEST_F(CartControls, AJumpOutOfTheFadeOutPlaysFromTheDroppedPlaceAtTheVolumeAtOnce) {
  bindFile("/j/twenty.wav", 20);
  cart.SetFadeout(1);
  cart.playClick();
  advanceTo(19000ms);
  ASSERT_EQ(cart.FadeGain(), 33);
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(622.5f - cart.look().thumbLeft, 60);  // to half the travel
  cart.thumbRelease();
  EXPECT_FALSE(cart.Seeking());
  EXPECT_FALSE(cart.FadeActive());
  EXPECT_EQ(cart.SampleOffset(), framesOf(10));
  EXPECT_EQ(player().blockGains(player().runs().size() - 1, framesOf(10)),
            (std::vector<int>{100, 100}));
  // From its very first frame: no glide up from the fade's gain.
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(framesOf(10), 0));
}

// The end warning follows the jump too: none while paused (silent), lit at
// once at the resume 4 s before the end, out after a jump back.
TEST_F(CartControls, AJumpWhilePausedTakesEffectAtTheResumeWithTheEndWarning) {
  cart.setEndWarning({true, 5});
  bindAndPlay("/j/twenty.wav", 20);
  advance(1s);
  cart.pauseClick();
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(996 - cart.look().thumbLeft, 60);  // to 80 % of the travel: 16 s
  cart.thumbRelease();
  EXPECT_TRUE(cart.Paused());
  EXPECT_EQ(cart.SampleOffset(), framesOf(16));
  EXPECT_EQ(cart.look().runningTime, "00:16");
  EXPECT_FALSE(cart.look().endWarning);
  cart.pauseClick();
  EXPECT_TRUE(cart.look().endWarning);
  EXPECT_EQ(firstQueuedSample(player()), FakeMedia::sampleAt(framesOf(16), 0));
  advance(1s);
  EXPECT_EQ(cart.look().runningTime, "00:17");
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(-2000, 60);
  cart.thumbRelease();
  advance(1s);
  EXPECT_FALSE(cart.look().endWarning);
}

// --- Drops ---

TEST_F(CartControls, ADropBindsTheLastAcceptedFileAndStartsNothing) {
  addFile("a.wav", 3);
  addFile("b.doc", 3);
  addFile("c.Ogg", 4);
  const int analysed = media().infoOpens;
  cart.drop(std::vector<std::string>{"a.wav", "b.doc", "c.Ogg"});
  EXPECT_EQ(cart.GetTitle(), "c.Ogg");
  EXPECT_EQ(cart.look().length, "00:04");
  EXPECT_EQ(media().infoOpens, analysed + 2);  // b.doc never looked at
  EXPECT_EQ(media().readerOpens, 0);
  // A drop that binds nothing still tells the host.
  cart.drop(std::vector<std::string>{"b.doc"});
  EXPECT_EQ(listener.affectFile, 2);
  EXPECT_EQ(cart.GetTitle(), "c.Ogg");
  // A file that cannot be analysed is bound, shown missing, unless another follows.
  cart.drop(std::vector<std::string>{"/j/gone.wav", "a.wav"});
  EXPECT_EQ(cart.GetTitle(), "a.wav");
  EXPECT_FALSE(cart.look().fileMissing);
  cart.drop(std::vector<std::string>{"/j/gone.wav"});
  EXPECT_TRUE(cart.look().fileMissing);
  EXPECT_EQ(cart.look().length, "--:--");
}

TEST_F(CartControls, AffectFileComesBeforeTheBinding) {
  struct Watcher : CountingListener {
    Cartouche* cart = nullptr;
    std::string titleAtAffect;
    void AffectFile() override { titleAtAffect = cart->GetTitle(); }
  } watcher;
  watcher.cart = &cart;
  cart.setListener(&watcher);
  bindFile("/j/old.wav", 5);
  addFile("/j/new.wav", 5);
  cart.drop(std::vector<std::string>{"/j/new.wav"});
  EXPECT_EQ(watcher.titleAtAffect, "/j/old.wav");
  EXPECT_EQ(cart.GetTitle(), "/j/new.wav");
}

TEST_F(CartControls, ADropOnAPlayingOrPausedCartStopsItAndBindsTheNewFile) {
  addFile("/j/next.wav", 6);
  bindAndPlay("/j/a.wav", 10);
  advance(1s);
  cart.drop(std::vector<std::string>{"/j/next.wav"});
  EXPECT_FALSE(cart.Playing());
  EXPECT_EQ(cart.GetTitle(), "/j/next.wav");
  EXPECT_EQ(media().readerOpens, 1);  // not started

  cart.playClick();
  cart.pauseClick();
  cart.drop(std::vector<std::string>{"/j/a.wav"});
  EXPECT_FALSE(cart.Paused());
  expectStopped();
}

}  // namespace
}  // namespace quillon::cart::test
