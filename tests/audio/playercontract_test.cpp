// The player's contract, as every cart relies on it, on the simulated player
// stepped by a manual clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/simulatedplayer.h"
#include "support/fakeengine.h"
#include "support/recordingevents.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

using Recorder = test::RecordingEvents;

AudioBlock block(int frames, std::int16_t value = 1000, int rate = 44100) {
  AudioBlock b;
  b.channels = 2;
  b.sampleRate = rate;
  b.samples.assign(static_cast<std::size_t>(frames * 2), value);
  return b;
}

class PlayerContract : public ::testing::Test {
 protected:
  void SetUp() override {
    player = engine.createPlayer();
    player->setEventHandler(&events);
    ASSERT_TRUE(player->SetFormat({44100, 2}));
    ASSERT_EQ(player->OpenOutput(), 0);
  }
  test::FakeEngine engine;
  std::unique_ptr<Player> player;
  Recorder events;
};

TEST_F(PlayerContract, AsksForBlocksWhilePlayingAndEndsOnlyAfterTheMark) {
  // Feed a block at each request, 20 blocks in all, then mark the end.
  int fed = 0;
  events.onRequest = [&] {
    if (fed < 20) {
      player->QueueBlock(block(4410));
      ++fed;
    } else {
      player->MarkEndOfFile();
    }
  };
  player->QueueBlock(block(4410));
  player->QueueBlock(block(4410));
  engine.clock.advance(1s);
  EXPECT_GT(events.count("request"), 0);
  EXPECT_EQ(events.count("end"), 0);
  engine.clock.advance(2s);  // 22 blocks = 2.2 s in all
  EXPECT_EQ(events.count("end"), 1);
  EXPECT_EQ(player->PlayedSamples(), 22 * 4410);
  EXPECT_EQ(player->UnderrunCount(), 0);
  // No request after the end mark.
  const auto lastRequest = std::find(events.log.rbegin(), events.log.rend(), "request");
  const auto end = std::find(events.log.rbegin(), events.log.rend(), "end");
  EXPECT_GT(lastRequest - events.log.rbegin(), end - events.log.rbegin());
}

TEST_F(PlayerContract, ADryQueueBeforeTheMarkIsAnUnderrunNotAnEnd) {
  player->QueueBlock(block(4410));
  engine.clock.advance(500ms);
  EXPECT_EQ(events.count("end"), 0);
  EXPECT_EQ(player->UnderrunCount(), 1);
  EXPECT_EQ(player->PlayedSamples(), 4410);
  // Playback goes on when the next block arrives.
  player->QueueBlock(block(4410));
  engine.clock.advance(100ms);
  EXPECT_EQ(player->PlayedSamples(), 8820);
  EXPECT_EQ(player->UnderrunCount(), 1);  // counted once per dry spell
  player->MarkEndOfFile();
  engine.clock.advance(50ms);
  EXPECT_EQ(events.count("end"), 1);
}

TEST_F(PlayerContract, TimerEveryFiftyMillisecondsWhileOpenAndNoneAfterClose) {
  player->QueueBlock(block(44100));
  engine.clock.advance(1s);
  EXPECT_EQ(events.count("timer"), 20);
  // Each Timer carries the played count at the time: 50 ms steps of 2205.
  for (std::size_t i = 0; i < events.timerSamples.size(); ++i) {
    EXPECT_EQ(events.timerSamples[i], static_cast<FrameCount>((i + 1) * 2205));
  }
  player->CloseOutput();
  events.log.clear();
  engine.clock.advance(1s);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(PlayerContract, EventsRaisedBeforeAResetAreDropped) {
  PlayerEventGate gate(engine.clock);
  Recorder r;
  gate.setHandler(&r);
  gate.raiseEndPlay();
  gate.raiseTimer(4410, 0, 0);
  gate.raiseRequestOnLoadArray();
  gate.newGeneration();  // what ResetOutput, CloseOutput and OpenOutput do
  gate.raiseTimer(10, 0, 0);
  engine.clock.runPosted();
  ASSERT_EQ(r.log, std::vector<std::string>{"timer"});
  EXPECT_EQ(r.timerSamples[0], 10);
}

TEST_F(PlayerContract, ALoopRestartInEndPlaySeesNoTimerOfThePlayBefore) {
  // EndPlay's handler restarts, as a looping cart does; a Timer raised in the
  // same tick with the old count must not reach it (it would restart again).
  struct Looper : Recorder {
    Player* p = nullptr;
    int restarts = 0;
    void EndPlay() override {
      Recorder::EndPlay();
      ++restarts;
      p->ResetOutput();
    }
  } looper;
  looper.p = player.get();
  player->setEventHandler(&looper);
  player->QueueBlock(block(2205));  // exactly 50 ms
  player->MarkEndOfFile();
  engine.clock.advance(60ms);
  EXPECT_EQ(looper.restarts, 1);
  const auto end = std::find(looper.log.begin(), looper.log.end(), "end");
  ASSERT_NE(end, looper.log.end());
  std::size_t timersAfterEnd = 0;
  for (auto it = end; it != looper.log.end(); ++it) timersAfterEnd += *it == "timer";
  // Every Timer after the restart counts from the new head.
  for (std::size_t i = looper.timerSamples.size() - timersAfterEnd; i < looper.timerSamples.size();
       ++i) {
    EXPECT_EQ(looper.timerSamples[i], 0);
  }
}

TEST_F(PlayerContract, NoEventAfterCloseOutput) {
  player->QueueBlock(block(10));
  player->MarkEndOfFile();
  player->CloseOutput();
  engine.clock.advance(1s);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(PlayerContract, ALateTimerIsReplacedNotStacked) {
  // Handlers that never return to the loop: post nothing, only tick timers.
  // ManualScheduler runs posted tasks after each tick, so emulate a stalled
  // loop by raising through the gate directly.
  PlayerEventGate gate(engine.clock);
  Recorder r;
  gate.setHandler(&r);
  gate.raiseTimer(100, 0, 0);
  gate.raiseTimer(200, 0, 0);
  gate.raiseTimer(300, 0, 0);
  gate.raiseRequestOnLoadArray();
  gate.raiseRequestOnLoadArray();
  EXPECT_EQ(engine.clock.pendingTasks(), 2u);
  engine.clock.runPosted();
  ASSERT_EQ(r.timerSamples.size(), 1u);
  EXPECT_EQ(r.timerSamples[0], 300);  // the latest values
  EXPECT_EQ(r.count("request"), 1);
}

TEST_F(PlayerContract, AGateThatDiesDropsWhatItPosted) {
  Recorder r;
  {
    PlayerEventGate gate(engine.clock);
    gate.setHandler(&r);
    gate.raiseEndPlay();
  }
  engine.clock.runPosted();
  EXPECT_TRUE(r.log.empty());
}

TEST_F(PlayerContract, PlayedSamplesRestartsAtResetAndReopen) {
  player->QueueBlock(block(44100));
  engine.clock.advance(300ms);
  EXPECT_EQ(player->PlayedSamples(), 13230);
  player->ResetOutput();
  EXPECT_EQ(player->PlayedSamples(), 0);
  EXPECT_EQ(player->OutputStatus(), 0);  // still open
  player->QueueBlock(block(44100));
  engine.clock.advance(100ms);
  EXPECT_EQ(player->PlayedSamples(), 4410);
  player->CloseOutput();
  EXPECT_LT(player->OutputStatus(), 0);
  EXPECT_FALSE(player->QueueBlock(block(10)));
  ASSERT_EQ(player->OpenOutput(), 0);
  EXPECT_EQ(player->PlayedSamples(), 0);
  player->QueueBlock(block(44100));
  engine.clock.advance(200ms);
  EXPECT_EQ(player->PlayedSamples(), 8820);
}

TEST_F(PlayerContract, RecentSamplesAreTheHeardSignalAveragedToMono) {
  AudioBlock b = block(4410);
  for (std::size_t i = 0; i < b.samples.size(); i += 2) {
    b.samples[i] = 1000;       // left
    b.samples[i + 1] = -3000;  // right
  }
  player->QueueBlock(b);
  engine.clock.advance(50ms);
  const auto recent = player->RecentSamples(64);
  ASSERT_EQ(recent.size(), 64u);
  for (auto s : recent) EXPECT_EQ(s, -1000);
  player->CloseOutput();
  for (auto s : player->RecentSamples(64)) EXPECT_EQ(s, 0);
}

TEST_F(PlayerContract, PacedByTheClockOverHours) {
  // A block per request for twenty minutes of stepped time: the played count
  // is the clock's time exactly, with no drift and no underrun.
  events.onRequest = [&] { player->QueueBlock(block(4410)); };
  player->QueueBlock(block(4410));
  player->QueueBlock(block(4410));
  for (int minute = 0; minute < 20; ++minute) engine.clock.advance(60s);
  EXPECT_EQ(player->PlayedSamples(), 20LL * 60 * 44100);
  EXPECT_EQ(player->UnderrunCount(), 0);
}

TEST_F(PlayerContract, RefusesBlocksThatDoNotMatchTheFormat) {
  AudioBlock mono;
  mono.channels = 1;
  mono.samples.assign(100, 0);
  EXPECT_FALSE(player->QueueBlock(mono));
  EXPECT_FALSE(player->SetFormat({0, 2}));
  EXPECT_FALSE(player->SetFormat({44100, 6}));
}

TEST_F(PlayerContract, ADeviceFailureClosesTheOutputAndTellsTheOwner) {
  player->QueueBlock(block(44100));
  engine.clock.advance(100ms);
  engine.devices.failDevice(0, "server gone");
  engine.clock.runPosted();
  EXPECT_EQ(events.count("failed"), 1);
  EXPECT_LT(player->OutputStatus(), 0);
  EXPECT_FALSE(player->DeviceUsable());
  EXPECT_LT(player->OpenOutput(), 0);
  player->RescanDevices();
  EXPECT_EQ(engine.devices.rescans(), 1);
}

TEST(PlayerDevices, TheNullDeviceIsListedByDefault) {
  test::FakeEngine engine;
  auto player = engine.createPlayer();
  EXPECT_EQ(player->DeviceCount(), 1);
  EXPECT_EQ(player->CurrentDevice(), 0);
  EXPECT_EQ(player->DeviceName(), SimulatedDevices::kNullDeviceName);
  EXPECT_TRUE(player->DeviceUsable());
  // A number with no device behind it is not usable.
  player->SelectDevice(1);
  EXPECT_FALSE(player->DeviceUsable());
  EXPECT_EQ(player->DeviceName(), "");
  player->SelectDevice(-1);
  EXPECT_FALSE(player->DeviceUsable());
}

TEST(PlayerDevices, AFailedOpenLeavesNoOutput) {
  test::FakeEngine engine;
  auto player = engine.createPlayer();
  ASSERT_TRUE(player->SetFormat({48000, 2}));
  engine.devices.failNextOpen();
  EXPECT_LT(player->OpenOutput(), 0);
  EXPECT_LT(player->OutputStatus(), 0);
  EXPECT_FALSE(player->lastError().empty());
  EXPECT_EQ(player->OpenOutput(), 0);
}

}  // namespace
}  // namespace quillon::audio
