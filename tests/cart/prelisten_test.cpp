// Pre-listen on the simulated devices, stepped by the manual clock: the cart
// heard on the cue device only, the fire on air from the start, the air play
// left alone, the cart's own controls and every stop acting on it, no end
// warning, and the cue device's failure. Device 0 is the main output, 1 the
// cue device.
#include <functional>

#include "asrun/playreport.h"
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

class PreListen : public CartTest {
 public:
  void SetUp() override {
    CartTest::SetUp();
    engine.devices.setDevices({{"Main", true}, {"Cue", true}}, 0);
    cart.SetDevOutput(0);
    cart.SetMyLetter("A");
  }
  // Pre-listen on: the cart's second player is made on the cue device.
  void cueOn() {
    ASSERT_TRUE(cart.setCueDevice(1));
    cue = engine.lastPlayer;
    ASSERT_NE(cue, air);
  }
  void preListenFile(double seconds) {
    bindFile("/j/bed.wav", seconds);
    ASSERT_NO_FATAL_FAILURE(cueOn());
    cart.KeyPressPreListen("A");
    ASSERT_TRUE(cart.Playing());
    ASSERT_TRUE(cart.isPreListen());
  }
  // Frames heard on each output.
  std::size_t heardOnAir() const { return air->heardLeft().size(); }
  std::size_t heardOnCue() const { return cue->heardLeft().size(); }

  RecordingPlayer* air = engine.lastPlayer;  // made with the cart
  RecordingPlayer* cue = nullptr;
};

TEST_F(PreListen, CtrlWithTheLetterPlaysOnTheCueDeviceOnlyWithItsOwnLookAndRunningTime) {
  ASSERT_NO_FATAL_FAILURE(preListenFile(3));
  cart.SetVolume(40);  // the cart's gain stage, as on air: from the next block on
  const CartLook look = cart.look();
  EXPECT_EQ(look.background, Background::Play);
  EXPECT_TRUE(look.preListen);
  EXPECT_EQ(look.titleColour(), TextColour::White);
  advance(1200ms);
  EXPECT_EQ(cart.look().runningTime, "00:01");
  EXPECT_GT(cart.look().thumbLeft, 0.0f);
  advance(2500ms);  // played through: stopped, the air player never opened
  expectStopped();
  EXPECT_FALSE(cart.isPreListen());
  EXPECT_FALSE(cart.look().preListen);
  const std::vector<int> gains = cue->blockGains(0, 0);
  ASSERT_GT(gains.size(), 4u);
  EXPECT_EQ(gains[0], 100);
  EXPECT_EQ(gains[3], 40);
  EXPECT_TRUE(air->runs().empty());
}

TEST_F(PreListen, ASecondCtrlStopsItAndAnEmptyCartOrAnotherLetterDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(preListenFile(10));
  cart.KeyPressPreListen("B");
  EXPECT_TRUE(cart.isPreListen());
  cart.preListenClick();  // Ctrl+click toggles as Ctrl+letter does
  expectStopped();
  cart.StopMyplay();
  cart.KeyPressPreListen("A");
  cart.preListenClick();
  EXPECT_FALSE(cart.Playing());
  EXPECT_TRUE(air->runs().empty());
}

TEST_F(PreListen, EveryFireOnAirEndsThePreListenAndStartsOnAirFromTheStart) {
  const std::vector<std::pair<const char*, std::function<void(Cartouche&)>>> fires = {
      {"letter", [](Cartouche& c) { c.KeyPressRacc("A"); }},
      {"play button", [](Cartouche& c) { c.playClick(); }},
      {"ListenMusic", [](Cartouche& c) { c.ListenMusic(); }},
  };
  bindFile("/j/bed.wav", 10);
  ASSERT_NO_FATAL_FAILURE(cueOn());
  for (const auto& [name, fire] : fires) {
    SCOPED_TRACE(name);
    cart.KeyPressPreListen("A");
    advance(2000ms);
    const std::size_t airBefore = heardOnAir();
    fire(cart);
    EXPECT_TRUE(cart.Playing());
    EXPECT_FALSE(cart.isPreListen());
    EXPECT_FALSE(cart.look().preListen);
    const std::size_t cueBefore = heardOnCue();
    advance(1000ms);
    EXPECT_EQ(heardOnCue(), cueBefore) << "the cue device still sounds";
    const std::vector<std::int16_t> heard = air->heardLeft();
    EXPECT_TRUE(heardInOrder({heard.begin() + static_cast<std::ptrdiff_t>(airBefore), heard.end()},
                             0, framesOf(1)));
    cart.stopClick();
  }
}

TEST_F(PreListen, CtrlOnACartOnAirLeavesTheAirPlayAlone) {
  bindAndPlay("/j/bed.wav", 10);
  ASSERT_NO_FATAL_FAILURE(cueOn());
  advance(1000ms);
  cart.KeyPressPreListen("A");
  cart.preListenClick();
  EXPECT_TRUE(cart.Playing());
  EXPECT_FALSE(cart.isPreListen());
  advance(1000ms);
  ASSERT_EQ(air->runs().size(), 1u);  // never reset, closed or restarted
  EXPECT_TRUE(heardInOrder(air->heardLeft(), 0, framesOf(2)));
  EXPECT_TRUE(cue->runs().empty());
}

TEST_F(PreListen, WhileOffCtrlClickIsAPlainClickAndCtrlLetterDoesNothing) {
  bindFile("/j/bed.wav", 10);
  cart.KeyPressPreListen("A");
  EXPECT_FALSE(cart.Playing());
  cart.preListenClick();
  EXPECT_TRUE(cart.Playing());
  EXPECT_FALSE(cart.isPreListen());
  EXPECT_EQ(air->runs().size(), 1u);
  EXPECT_EQ(engine.lastPlayer, air);  // no second player was made
}

TEST_F(PreListen, PauseStopAndThePositionBarActOnThePreListen) {
  ASSERT_NO_FATAL_FAILURE(preListenFile(20));
  advanceTo(4000ms);
  cart.pauseClick();
  EXPECT_TRUE(cart.Paused());
  EXPECT_TRUE(cart.look().paused && cart.look().preListen);
  const std::size_t pausedAt = heardOnCue();
  advance(1000ms);
  EXPECT_EQ(heardOnCue(), pausedAt);
  cart.pauseClick();
  advance(500ms);
  EXPECT_GT(heardOnCue(), pausedAt);
  EXPECT_TRUE(cart.isPreListen());
  // The thumb dropped at half the track: the cue goes on from 10 s.
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(622.5f - cart.look().thumbLeft, 60);  // half the travel
  cart.thumbRelease();
  advance(1000ms);
  EXPECT_EQ(cart.look().runningTime, "00:11");
  EXPECT_TRUE(cart.isPreListen());
  cart.stopClick();
  expectStopped();
  EXPECT_TRUE(air->runs().empty());
}

TEST_F(PreListen, WhateverStopsAPlayingCartStopsAPreListen) {
  const std::vector<std::pair<const char*, std::function<void(Cartouche&)>>> stops = {
      {"stop button", [](Cartouche& c) { c.stopClick(); }},
      {"panic", [](Cartouche& c) { c.stopPlaying(); }},
      {"device change", [](Cartouche& c) { c.SetDevOutput(0); }},
      {"drop", [](Cartouche& c) { c.drop(std::vector<std::string>{"/j/bed.wav"}); }},
      {"New or palette load", [](Cartouche& c) { c.StopMyplay(); }},
  };
  for (const auto& [name, stop] : stops) {
    SCOPED_TRACE(name);
    ASSERT_NO_FATAL_FAILURE(preListenFile(10));
    advance(500ms);
    stop(cart);
    EXPECT_FALSE(cart.Playing());
    EXPECT_FALSE(cart.isPreListen());
    const std::size_t cueBefore = heardOnCue();
    advance(500ms);
    EXPECT_EQ(heardOnCue(), cueBefore);
  }
  // The panic's fade ends it too, in silence.
  ASSERT_NO_FATAL_FAILURE(preListenFile(10));
  cart.fadeOutAndStop(1000);
  advance(2000ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_TRUE(air->runs().empty());
}

TEST_F(PreListen, APreListenGetsNoEndWarningAndAPlayOnAirDoes) {
  cart.setEndWarning({true, 5});
  ASSERT_NO_FATAL_FAILURE(preListenFile(8));
  advanceTo(4000ms);  // 4 s left
  EXPECT_FALSE(cart.look().endWarning);
  cart.KeyPressRacc("A");  // on air from the start: 8 s left
  advance(4000ms);
  EXPECT_TRUE(cart.look().endWarning);
}

TEST_F(PreListen, TheCueDeviceFailingStopsThePreListenAndNotTheCartsOnAir) {
  Cartouche onAir{engine};
  RecordingPlayer* onAirPlayer = engine.lastPlayer;
  onAir.SetDevOutput(0);
  ASSERT_NO_FATAL_FAILURE(preListenFile(10));
  ASSERT_TRUE(onAir.SetTitle("/j/bed.wav"));
  onAir.setCueDevice(1);
  onAir.playClick();
  advance(1000ms);
  engine.devices.failDevice(1, "cue unplugged");
  advance(100ms);
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.isPreListen());
  EXPECT_EQ(cart.lastError(), "cue unplugged");
  advance(1000ms);
  EXPECT_TRUE(onAir.Playing());
  ASSERT_EQ(onAirPlayer->runs().size(), 1u);
  EXPECT_TRUE(heardInOrder(onAirPlayer->heardLeft(), 0, framesOf(2.1)));
  // A pre-listen on the failed device fails: it never plays on air instead.
  cart.KeyPressPreListen("A");
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.look().startFailure.empty());
  EXPECT_TRUE(air->runs().empty());
}

TEST_F(PreListen, TheOutputDeviceAsCueDeviceNeverPreListensOnAir) {
  bindFile("/j/bed.wav", 10);
  ASSERT_TRUE(cart.setCueDevice(0));
  cart.KeyPressPreListen("A");
  EXPECT_FALSE(cart.Playing());
  EXPECT_FALSE(cart.look().startFailure.empty());
  // The operator moves the output onto the cue device: the same.
  ASSERT_TRUE(cart.setCueDevice(1));
  cart.SetDevOutput(1);
  cart.preListenClick();
  EXPECT_FALSE(cart.Playing());
}

struct Plays : asrun::PlayReport {
  void played(asrun::PlayRecord play) override { records.push_back(std::move(play)); }
  std::vector<asrun::PlayRecord> records;
};

TEST_F(PreListen, OnlyThePlayOnAirIsReportedAsAPlayFromItsOwnStart) {
  Plays plays;
  cart.setPlayReport(&plays);
  ASSERT_NO_FATAL_FAILURE(preListenFile(10));
  advance(2000ms);
  cart.KeyPressPreListen("A");  // stopped: no play
  cart.KeyPressPreListen("A");
  advance(3000ms);
  cart.KeyPressRacc("A");  // on air from its start, for 1.5 s
  advance(1500ms);
  cart.KeyPressRacc("A");
  cart.KeyPressPreListen("A");
  engine.devices.failDevice(1, "cue unplugged");  // a pre-listen's end: no play
  advance(100ms);
  ASSERT_FALSE(cart.Playing());
  ASSERT_EQ(plays.records.size(), 1u);
  const asrun::PlayRecord& play = plays.records[0];
  EXPECT_EQ(play.startedBy, asrun::StartCause::Key);
  EXPECT_EQ(play.endedBy, asrun::EndReason::Stopped);
  EXPECT_EQ(play.played, 1500ms);
}

}  // namespace
}  // namespace quillon::cart::test
