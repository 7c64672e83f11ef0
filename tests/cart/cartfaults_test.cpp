// Every way a play can fail, and a Timer handler whose loop runs other
// handlers: the cart always ends stopped and looking stopped, never silent
// while it looks playing, and the program goes on.
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

using CartFaults = CartTest;

TEST_F(CartFaults, AReadErrorMidFileStopsTheCartCleanlyEvenWhenLooping) {
  quillon::test::FakeFile file;
  file.frames = framesOf(10);
  file.failReadAt = framesOf(2);
  media().add("/j/bad.mp3", file);
  ASSERT_TRUE(cart.SetTitle("/j/bad.mp3"));
  cart.Setloop(1);
  cart.playClick();
  advance(3s);
  expectStopped();
  EXPECT_EQ(cart.look().runningTime, "00:00");
  EXPECT_FALSE(cart.lastError().empty());
}

TEST_F(CartFaults, AReaderThatThrowsStopsTheCartAtTheStartOrMidFile) {
  bindFile("/j/a.wav", 10);
  engine.readsThrow = true;
  cart.playClick();
  expectStopped();

  engine.readsThrow = false;
  cart.playClick();
  advance(1s);
  engine.readsThrow = true;
  advance(1s);
  EXPECT_FALSE(cart.Playing());
  EXPECT_NE(cart.lastError().find("decoder fault"), std::string::npos);
}

TEST_F(CartFaults, AFailedDeviceStopsTheCart) {
  bindAndPlay("/j/a.wav", 10);
  advance(1s);
  engine.devices.failDevice(0, "unplugged");
  advance(100ms);
  expectStopped();
  EXPECT_EQ(cart.lastError(), "unplugged");
}

TEST_F(CartFaults, AStartWithNoOutputOrNoFramesFailsQuietlyAndShowsTheIdleLook) {
  bindFile("/j/a.wav", 10);
  listener.changes.clear();
  engine.devices.failNextOpen();
  cart.playClick();
  expectStopped();
  EXPECT_EQ(listener.changesWith(kBackgroundPart), 0);  // never looked playing
  // The file was given back: the next start plays.
  cart.playClick();
  EXPECT_TRUE(cart.Playing());

  quillon::test::FakeFile empty;
  empty.durationMs = 0;
  media().add("/j/empty.wav", empty);
  ASSERT_TRUE(cart.SetTitle("/j/empty.wav"));
  cart.playClick();
  expectStopped();
}

// --- The Timer handler lets other handlers run in its middle ---

// Runs a control of the cart from inside the Timer handler's event loop
// pass: posted as the handler tells of the new trace, before its loop runs.
struct PostingListener : CountingListener {
  audio::UiScheduler* scheduler = nullptr;
  std::function<void()> action;
  void lookChanged(LookParts parts) override {
    CountingListener::lookChanged(parts);
    if ((parts & kTracePart) && action) scheduler->post(std::exchange(action, nullptr));
  }
};

// A cart that has played one second of a 3-second file; `runInsideNextTimer`
// hands the next Timer handler a control to run in its middle.
class CartTimerReentry : public CartTest {
 public:
  void SetUp() override {
    posting.scheduler = &engine.clock;
    cart.setListener(&posting);
    bindAndPlay("/j/three.wav", 3.0);
    advance(1000ms);
  }
  void runInsideNextTimer(std::function<void()> action) { posting.action = std::move(action); }

  PostingListener posting;
};

TEST_F(CartTimerReentry, AStopLeavesTheThumbAtTheLeftEnd) {
  runInsideNextTimer([this] { cart.stopClick(); });
  advance(50ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, 0.0f);
  EXPECT_EQ(cart.look().runningTime, "00:00");
}

TEST_F(CartTimerReentry, APauseLeavesTheThumbWherePlayStopped) {
  runInsideNextTimer([this] { cart.pauseClick(); });
  advance(50ms);
  ASSERT_TRUE(cart.Paused());
  // Between the places of 1.0 s and 1.05 s, not counted twice.
  EXPECT_GE(cart.look().thumbLeft, 415.0f);
  EXPECT_LE(cart.look().thumbLeft, 435.75f);
}

TEST_F(CartTimerReentry, AGrabKeepsTheThumbWhereTheOperatorHasIt) {
  const float shown = cart.look().thumbLeft;
  runInsideNextTimer([this] { cart.thumbPress(10); });
  advance(500ms);
  EXPECT_TRUE(cart.Seeking());
  EXPECT_FLOAT_EQ(cart.look().thumbLeft, shown);
  EXPECT_EQ(cart.look().runningTime, "00:01");  // the time keeps counting
}

}  // namespace
}  // namespace quillon::cart::test
