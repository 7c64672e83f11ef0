// Carts whose file stops answering: a read held at the gate (the test
// decides when it returns) on the program's read-ahead reader, the clock
// stepped by hand. The cart of the stuck file fails alone and cleanly; the
// others play on without an underrun; no operator's command waits. And a
// reader that throws at any step into it stops its cart cleanly.
#include <memory>
#include <vector>

#include "audio/backgroundinformation.h"
#include "audio/readahead.h"
#include "cartfixture.h"
#include "support/readgate.h"

namespace quillon::cart::test {
namespace {

using quillon::test::GatedInformation;
using quillon::test::GatedReader;
using quillon::test::ReadGate;

constexpr int kCarts = 26;

// The cart test engine with the program's reader (and, when asked, its
// information) on a read pool, every file behind the gate.
class StallEngine : public CartTestEngine {
 public:
  std::unique_ptr<audio::Reader> createReader() override {
    return std::make_unique<audio::ReadAheadReader>(
        [this] { return std::make_unique<GatedReader>(media.createReader(), gate); }, pool, clock);
  }
  std::unique_ptr<audio::Information> createInformation() override {
    if (!informationInBackground) return CartTestEngine::createInformation();
    return std::make_unique<audio::BackgroundInformation>(
        [this] { return std::make_unique<GatedInformation>(media.createInformation(), gate); },
        pool, clock);
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    auto player = CartTestEngine::createPlayer();
    players.push_back(lastPlayer);
    return player;
  }

  ReadGate gate;
  audio::ReadPool pool;
  bool informationInBackground = false;
  std::vector<RecordingPlayer*> players;  // in the order of the carts
};

class DiskStall : public ::testing::Test {
 public:
  void TearDown() override {
    engine.gate.open();
    engine.pool.waitUntilSettled();
  }
  void makeCarts() {
    for (int i = 0; i < kCarts; ++i) carts.push_back(std::make_unique<Cartouche>(engine));
  }
  static std::string pathOf(int i) { return "/j/" + std::to_string(i) + ".wav"; }
  // Binds cart i to a file of its own, `seconds` long.
  void bindAll(double seconds) {
    for (int i = 0; i < kCarts; ++i) {
      engine.media.add(pathOf(i), {{44100, 2}, framesOf(seconds)});
      carts[static_cast<std::size_t>(i)]->SetTitle(pathOf(i));
    }
  }
  // Time passes in 10 ms steps; before each, the workers catch up but for
  // `held` calls at the gate.
  void step(std::chrono::milliseconds total, int held = 0) {
    for (auto t = 0ms; t < total; t += 10ms) {
      engine.pool.waitUntilSettled(held);
      engine.clock.advance(10ms);
    }
    engine.pool.waitUntilSettled(held);
    engine.clock.runPosted();
  }
  std::int64_t underrunsOf(int i) const {
    const RecordingPlayer& p = *engine.players[static_cast<std::size_t>(i)];
    return p.underruns() + p.UnderrunCount();
  }
  Cartouche& cart(int i) { return *carts[static_cast<std::size_t>(i)]; }

  StallEngine engine;
  std::vector<std::unique_ptr<Cartouche>> carts;
};

TEST_F(DiskStall, TwentyFiveCartsPlayOnWhileOneFileHangsWhichFailsAloneAfterTheBound) {
  makeCarts();
  bindAll(30);
  for (auto& c : carts) c->playClick();
  step(1000ms);
  for (int i = 0; i < kCarts; ++i) ASSERT_TRUE(cart(i).Playing()) << i;

  engine.gate.close(pathOf(0));
  step(2000ms, 1);
  ASSERT_EQ(engine.gate.held(), 1);  // the worker reading ahead for cart A hangs
  // A plays out what it had, then waits on its late blocks within the bound.
  EXPECT_TRUE(cart(0).Playing());
  step(1500ms, 1);
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_EQ(cart(0).look().background, Background::Stop);
  EXPECT_TRUE(cart(0).look().fileMissing);
  EXPECT_EQ(cart(0).look().missingReason, "The file did not answer within 2 s: /j/0.wav");
  EXPECT_EQ(cart(0).GetTitle(), pathOf(0));  // still bound: a palette saves it
  for (int i = 1; i < kCarts; ++i) {
    EXPECT_TRUE(cart(i).Playing()) << i;
    EXPECT_EQ(underrunsOf(i), 0) << i;
  }

  // The stale read lands much later: nothing changes.
  const CartLook before = cart(0).look();
  engine.gate.open();
  step(1000ms);
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_EQ(cart(0).look().missingReason, before.missingReason);
  for (int i = 1; i < kCarts; ++i) EXPECT_EQ(underrunsOf(i), 0) << i;
}

TEST_F(DiskStall, StopAndAFireOnTheHangingCartReturnAtOnceAndTheFireFailsAfterTheBound) {
  makeCarts();
  bindAll(30);
  for (auto& c : carts) c->playClick();
  step(500ms);
  engine.gate.close(pathOf(0));
  step(300ms, 1);
  ASSERT_EQ(engine.gate.held(), 1);

  cart(0).stopClick();  // a stuck read in progress: the stop does not wait for it
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_FALSE(cart(0).fileMissing());
  // A new fire: its open hangs too. The cart looks started and its letter
  // would stop it; nothing is fed.
  cart(0).SetMyLetter("A");
  cart(0).KeyPressRacc("A");
  engine.gate.waitUntilHeld(2);
  EXPECT_TRUE(cart(0).Playing());
  EXPECT_EQ(cart(0).look().background, Background::Play);
  step(1900ms, 2);
  EXPECT_TRUE(cart(0).Playing());
  step(300ms, 2);
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_EQ(cart(0).look().background, Background::Stop);
  EXPECT_TRUE(cart(0).fileMissing());
  for (int i = 1; i < kCarts; ++i) EXPECT_EQ(underrunsOf(i), 0) << i;

  // Back on the share: the next fire plays.
  engine.gate.open();
  step(100ms);
  cart(0).playClick();
  step(300ms);
  EXPECT_TRUE(cart(0).Playing());
  EXPECT_FALSE(cart(0).fileMissing());
}

TEST_F(DiskStall, APaletteOnAStalledShareShowsAtOnceAndFillsInOrMarksEachCart) {
  engine.informationInBackground = true;
  makeCarts();
  engine.gate.close(pathOf(3));
  bindAll(12.5);  // as a palette load does: every SetTitle returns at once
  for (int i = 0; i < kCarts; ++i) EXPECT_EQ(cart(i).look().length, "--:--") << i;
  engine.gate.waitUntilHeld();
  step(100ms, 1);
  for (int i = 0; i < kCarts; ++i) {
    if (i == 3) continue;
    EXPECT_EQ(cart(i).look().length, "00:12") << i;
    EXPECT_EQ(cart(i).LengthSeconds(), 12) << i;
  }
  EXPECT_FALSE(cart(3).fileMissing());  // not known yet
  step(2100ms, 1);
  EXPECT_TRUE(cart(3).fileMissing());
  EXPECT_EQ(cart(3).look().missingReason, "The file did not answer within 2 s: /j/3.wav");

  // A cart emptied while its length is on its way stays empty when it lands.
  engine.gate.close(pathOf(4));
  cart(4).SetTitle(pathOf(4));
  engine.gate.waitUntilHeld(2);
  cart(4).StopMyplay();
  engine.gate.open();
  step(100ms);
  EXPECT_EQ(cart(4).GetTitle(), "");
  EXPECT_EQ(cart(4).LengthSeconds(), 0);
  EXPECT_FALSE(cart(4).fileMissing());
  EXPECT_FALSE(cart(4).lengthPending());
}

TEST_F(DiskStall, AFireBeforeTheLengthHasArrivedTakesItFromTheOpenAndFadesIn) {
  engine.informationInBackground = true;
  makeCarts();
  engine.media.add("/j/bed.wav", {{44100, 2}, framesOf(10.4)});
  cart(0).SetFadein(1);
  cart(0).SetTitle("/j/bed.wav");
  cart(0).playClick();  // no worker has run yet: neither answer is in
  EXPECT_TRUE(cart(0).Playing());
  step(20ms);
  EXPECT_EQ(cart(0).LengthSeconds(), 10);
  EXPECT_EQ(cart(0).look().length, "00:10");
  EXPECT_TRUE(cart(0).FadeActive());
  EXPECT_EQ(cart(0).FadeGain(), 0);  // 10 s: the fade-in applies from the first block
}

// --- A reader that throws at any step into it ---

class ThrowingSteps : public CartTest {
 public:
  void TearDown() override { engine.throws = {}; }
};

TEST_F(ThrowingSteps, AtTheStartTheResumeTheJumpTheLoopAndTheStopTheCartStopsCleanly) {
  bindFile("/j/a.wav", 3);
  engine.throws.opens = true;
  cart.playClick();
  expectStopped();
  EXPECT_NE(cart.lastError().find("decoder fault"), std::string::npos);
  engine.throws = {};

  // Resume.
  cart.playClick();
  advance(500ms);
  cart.pauseClick();
  engine.throws.seeks = true;
  cart.pauseClick();
  expectStopped();
  EXPECT_FALSE(cart.Paused());
  engine.throws = {};

  // The thumb's jump.
  cart.playClick();
  advance(500ms);
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(600, 60);
  engine.throws.seeks = true;
  cart.thumbRelease();
  expectStopped();
  EXPECT_FALSE(cart.Seeking());
  engine.throws = {};

  // The loop restart at the end of the file.
  cart.Setloop(1);
  cart.playClick();
  advance(2000ms);
  engine.throws.seeks = true;
  advance(2000ms);
  expectStopped();
  engine.throws = {};

  // The stop: every step still runs.
  cart.playClick();
  advance(500ms);
  engine.throws.closes = true;
  cart.stopClick();
  expectStopped();
  EXPECT_EQ(cart.look().runningTime, "00:00");
  engine.throws = {};
  cart.playClick();
  EXPECT_TRUE(cart.Playing());
}

}  // namespace
}  // namespace quillon::cart::test
