// The player's contract, as every cart relies on it, on the simulated player
// stepped by a manual clock.
#include <gtest/gtest.h>

#include "audio/simulatedplayer.h"
#include "support/fakeengine.h"
#include "support/recordingevents.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

using Recorder = test::RecordingEvents;
AudioBlock block(int frames, int rate = 44100, std::int16_t left = 1000,
                 std::int16_t right = 1000) {
  AudioBlock b;
  b.channels = 2;
  b.sampleRate = rate;
  for (int f = 0; f < frames; ++f) b.samples.insert(b.samples.end(), {left, right});
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

TEST_F(PlayerContract, ADryQueueIsAnUnderrunAndTheEndComesOnlyAfterTheMark) {
  player->QueueBlock(block(4410));
  engine.clock.advance(500ms);
  EXPECT_GT(events.count("request"), 0);
  EXPECT_EQ(events.count("end"), 0);
  EXPECT_EQ(player->UnderrunCount(), 1);
  EXPECT_EQ(player->PlayedSamples(), 4410);
  // Playback goes on when the next block arrives; then a block at each
  // request, 20 in all, and the end mark.
  int fed = 0;
  events.onRequest = [&] {
    fed++ < 20 ? (void)player->QueueBlock(block(4410)) : player->MarkEndOfFile();
  };
  player->QueueBlock(block(4410));
  engine.clock.advance(1s);
  EXPECT_EQ(events.count("end"), 0);
  engine.clock.advance(2s);  // 22 blocks = 2.2 s in all, after 0.4 s dry
  EXPECT_EQ(events.count("end"), 1);
  EXPECT_EQ(player->PlayedSamples(), 22 * 4410);
  EXPECT_EQ(player->UnderrunCount(), 1);  // counted once per dry spell
  // No request after the end.
  const auto end = std::find(events.log.begin(), events.log.end(), "end");
  EXPECT_EQ(std::count(end, events.log.end(), "request"), 0);
}

TEST(PlayerEventGate, DropsStaleEventsAndKeepsOneTimerAndOneRequestWaiting) {
  ManualScheduler clock;
  Recorder r;
  {
    PlayerEventGate dying(clock);  // its posted task must be dropped safely
    dying.setHandler(&r);
    dying.raiseEndPlay();
  }
  PlayerEventGate gate(clock);
  gate.setHandler(&r);
  gate.raiseEndPlay();
  gate.raiseTimer(4410, 0, 0);
  gate.raiseRequestOnLoadArray();
  gate.newGeneration();  // what ResetOutput, CloseOutput and OpenOutput do
  // Then a stalled UI loop: nothing runs between these.
  for (FrameCount played : {100, 200, 300}) gate.raiseTimer(played, 0, 0);
  gate.raiseRequestOnLoadArray();
  gate.raiseRequestOnLoadArray();
  clock.runPosted();
  EXPECT_EQ(r.log, (std::vector<std::string>{"timer", "request"}));
  EXPECT_EQ(r.timerSamples, std::vector<FrameCount>{300});  // the latest values
}

TEST_F(PlayerContract, ALoopRestartInEndPlaySeesNoTimerOfThePlayBefore) {
  // EndPlay's handler restarts, as a looping cart does; a Timer raised in the
  // same tick with the old count must not reach it (it would restart again).
  struct Looper : Recorder {
    Player* p = nullptr;
    void EndPlay() override {
      Recorder::EndPlay();
      p->ResetOutput();
    }
  } looper;
  looper.p = player.get();
  player->setEventHandler(&looper);
  player->QueueBlock(block(2205));  // exactly 50 ms
  player->MarkEndOfFile();
  engine.clock.advance(60ms);
  EXPECT_EQ(looper.count("end"), 1);
  // Every Timer after the restart counts from the new head.
  const auto end = std::find(looper.log.begin(), looper.log.end(), "end");
  const auto timersAfter = std::count(end, looper.log.end(), "timer");
  for (auto it = looper.timerSamples.end() - timersAfter; it != looper.timerSamples.end(); ++it) {
    EXPECT_EQ(*it, 0);
  }
}

TEST_F(PlayerContract, CountsAndTimersRestartAtResetAndReopenAndNothingComesAfterClose) {
  player->QueueBlock(block(44100, 44100, 1000, -3000));
  engine.clock.advance(300ms);
  EXPECT_EQ(player->PlayedSamples(), 13230);
  // A Timer every 50 ms, carrying the played count at the time: steps of 2205.
  ASSERT_EQ(events.count("timer"), 6);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(events.timerSamples[i], static_cast<FrameCount>((i + 1) * 2205));
  }
  EXPECT_EQ(player->RecentSamples(64), std::vector<std::int16_t>(64, -1000));  // the heard mono
  player->ResetOutput();
  EXPECT_EQ(player->PlayedSamples(), 0);
  EXPECT_EQ(player->OutputStatus(), 0);  // still open
  player->QueueBlock(block(4410));
  engine.clock.advance(100ms);
  EXPECT_EQ(player->PlayedSamples(), 4410);
  player->MarkEndOfFile();  // an end due, then a close: no EndPlay, no event at all
  player->CloseOutput();
  events.log.clear();
  engine.clock.advance(1s);
  EXPECT_TRUE(events.log.empty());
  EXPECT_LT(player->OutputStatus(), 0);
  EXPECT_EQ(player->RecentSamples(64), std::vector<std::int16_t>(64, 0));
  EXPECT_FALSE(player->QueueBlock(block(10)));
  ASSERT_EQ(player->OpenOutput(), 0);
  EXPECT_EQ(player->PlayedSamples(), 0);
  player->QueueBlock(block(44100));
  engine.clock.advance(200ms);
  EXPECT_EQ(player->PlayedSamples(), 8820);
}

TEST_F(PlayerContract, PacedByTheClockOverTwentyMinutesWithoutDrift) {
  // At 22.05 kHz a 10 ms step is 220.5 frames: a count kept by adding steps
  // would drift; the count must be the clock's time exactly.
  ASSERT_TRUE(player->SetFormat({22050, 2}));
  ASSERT_EQ(player->OpenOutput(), 0);
  events.onRequest = [&] { player->QueueBlock(block(2205, 22050)); };
  events.onRequest();
  events.onRequest();
  for (int minute = 0; minute < 20; ++minute) engine.clock.advance(60s);
  EXPECT_EQ(player->PlayedSamples(), 20LL * 60 * 22050);
  EXPECT_EQ(player->UnderrunCount(), 0);
}

TEST_F(PlayerContract, RefusesWhatItCannotPlayAndADeviceFailureClosesTheOutputAndTellsTheOwner) {
  AudioBlock mono;
  mono.channels = 1;
  mono.samples.assign(100, 0);
  EXPECT_FALSE(player->QueueBlock(mono));
  EXPECT_FALSE(player->SetFormat({0, 2}));
  EXPECT_FALSE(player->SetFormat({44100, 6}));
  player->CloseOutput();
  engine.devices.failNextOpen();  // a failed open leaves no output, and the next may work
  EXPECT_LT(player->OpenOutput(), 0);
  EXPECT_LT(player->OutputStatus(), 0);
  EXPECT_FALSE(player->lastError().empty());
  EXPECT_EQ(player->OpenOutput(), 0);

  player->QueueBlock(block(44100));
  engine.clock.advance(100ms);
  engine.devices.failDevice(0, "server gone");
  engine.clock.runPosted();
  EXPECT_EQ(events.count("failed"), 1);
  EXPECT_EQ(events.failure, "server gone");
  EXPECT_LT(player->OutputStatus(), 0);
  EXPECT_FALSE(player->DeviceUsable());
  EXPECT_LT(player->OpenOutput(), 0);
  player->RescanDevices();
  EXPECT_EQ(engine.devices.rescans(), 1);
}

}  // namespace
}  // namespace quillon::audio
