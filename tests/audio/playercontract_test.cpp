// The player's contract, as every cart relies on it, run on each player: the
// simulated player of the tests, and the program's device player on the null
// device, whose mixer the test renders period by period as the device's
// thread would. Both are stepped by a manual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "audio/portaudio/deviceplayer.h"
#include "support/fakeengine.h"
#include "support/handpacednull.h"
#include "support/recordingevents.h"
#include "support/simulatedplayer.h"

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

// The simulated player on its simulated devices.
struct SimulatedRig {
  std::unique_ptr<Player> createPlayer() { return engine.createPlayer(); }
  void advance(std::chrono::nanoseconds duration) { engine.clock.advance(duration); }
  test::FakeEngine engine;
};

// The device player on the null device at 44.1 kHz in 10 ms periods: each
// period is mixed at its start time, then the clock moves to its end.
struct NullDeviceRig {
  static constexpr int kRate = 44100;
  static constexpr int kPeriod = 441;

  NullDeviceRig() {
    clock.advance(1s);  // the device's time: a time of 0 is "never"
    std::string error;
    stream = devices.stream(0, error);
    EXPECT_NE(stream, nullptr) << error;
  }
  std::unique_ptr<Player> createPlayer() { return std::make_unique<DevicePlayer>(clock, devices); }
  void advance(std::chrono::nanoseconds duration) {
    const auto end = clock.now() + duration;
    const auto period = std::chrono::nanoseconds(1'000'000'000LL * kPeriod / kRate);
    while (clock.now() + period <= end) {
      stream->mixer().render(m_out.data(), kPeriod, 2, clock.now().count());
      clock.advance(period);
    }
    clock.advance(end - clock.now());
  }

  ManualScheduler clock;
  DeviceManager devices{clock, test::handPacedNullDevice(kRate, kPeriod)};
  OutputStream* stream = nullptr;

 private:
  std::vector<std::int16_t> m_out = std::vector<std::int16_t>(2 * kPeriod);
};

template <typename Rig>
class PlayerContract : public ::testing::Test {
 protected:
  void SetUp() override {
    player = rig.createPlayer();
    player->setEventHandler(&events);
    ASSERT_TRUE(player->SetFormat({44100, 2}));
    ASSERT_EQ(player->OpenOutput(), 0);
  }
  void advance(std::chrono::nanoseconds duration) { rig.advance(duration); }

  Rig rig;
  std::unique_ptr<Player> player;
  Recorder events;
};

using Players = ::testing::Types<SimulatedRig, NullDeviceRig>;
class PlayerNames {
 public:
  template <typename T>
  static std::string GetName(int) {
    return std::is_same_v<T, SimulatedRig> ? "Simulated" : "DeviceOnNull";
  }
};
TYPED_TEST_SUITE(PlayerContract, Players, PlayerNames);

TYPED_TEST(PlayerContract, ADryQueueIsAnUnderrunAndTheEndComesOnlyAfterTheMark) {
  this->player->QueueBlock(block(4410));
  this->advance(500ms);
  EXPECT_GT(this->events.count("request"), 0);
  EXPECT_EQ(this->events.count("end"), 0);
  EXPECT_EQ(this->player->UnderrunCount(), 1);
  EXPECT_EQ(this->player->PlayedSamples(), 4410);
  // Playback goes on when the next block arrives; then a block at each
  // request, 20 in all, and the end mark.
  int fed = 0;
  this->events.onRequest = [&] {
    fed++ < 20 ? (void)this->player->QueueBlock(block(4410)) : this->player->MarkEndOfFile();
  };
  this->player->QueueBlock(block(4410));
  this->advance(1s);
  EXPECT_EQ(this->events.count("end"), 0);
  this->advance(2s);  // 22 blocks = 2.2 s in all, after 0.4 s dry
  EXPECT_EQ(this->events.count("end"), 1);
  EXPECT_EQ(this->player->PlayedSamples(), 22 * 4410);
  EXPECT_EQ(this->player->UnderrunCount(), 1);  // counted once per dry spell
  // No request after the end.
  const auto end = std::find(this->events.log.begin(), this->events.log.end(), "end");
  EXPECT_EQ(std::count(end, this->events.log.end(), "request"), 0);
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

TYPED_TEST(PlayerContract, ALoopRestartInEndPlaySeesNoTimerOfThePlayBefore) {
  // EndPlay's handler restarts, as a looping cart does; a Timer raised in the
  // same tick with the old count must not reach it (it would restart again).
  struct Looper : Recorder {
    Player* p = nullptr;
    void EndPlay() override {
      Recorder::EndPlay();
      p->ResetOutput();
    }
  } looper;
  looper.p = this->player.get();
  this->player->setEventHandler(&looper);
  this->player->QueueBlock(block(2205));  // exactly 50 ms
  this->player->MarkEndOfFile();
  this->advance(60ms);
  EXPECT_EQ(looper.count("end"), 1);
  // Every Timer after the restart counts from the new head.
  const auto end = std::find(looper.log.begin(), looper.log.end(), "end");
  const auto timersAfter = std::count(end, looper.log.end(), "timer");
  for (auto it = looper.timerSamples.end() - timersAfter; it != looper.timerSamples.end(); ++it) {
    EXPECT_EQ(*it, 0);
  }
}

TYPED_TEST(PlayerContract, CountsAndTimersRestartAtResetAndReopenAndNothingComesAfterClose) {
  this->player->QueueBlock(block(44100, 44100, 1000, -3000));
  this->advance(300ms);
  EXPECT_EQ(this->player->PlayedSamples(), 13230);
  // A Timer every 50 ms, carrying the played count at the time: steps of 2205.
  ASSERT_EQ(this->events.count("timer"), 6);
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(this->events.timerSamples[i], static_cast<FrameCount>((i + 1) * 2205));
  }
  EXPECT_EQ(this->player->RecentSamples(64),
            std::vector<std::int16_t>(64, -1000));  // the heard mono
  this->player->ResetOutput();
  EXPECT_EQ(this->player->PlayedSamples(), 0);
  EXPECT_EQ(this->player->OutputStatus(), 0);  // still open
  // The new play may wait for the old one's short fade-out (a device player
  // fades a cut sound out over a few milliseconds); then it plays whole.
  this->player->QueueBlock(block(4410));
  this->advance(150ms);
  EXPECT_EQ(this->player->PlayedSamples(), 4410);
  this->player->MarkEndOfFile();  // an end due, then a close: no EndPlay, no event at all
  this->player->CloseOutput();
  this->events.log.clear();
  this->advance(1s);
  EXPECT_TRUE(this->events.log.empty());
  EXPECT_LT(this->player->OutputStatus(), 0);
  EXPECT_EQ(this->player->RecentSamples(64), std::vector<std::int16_t>(64, 0));
  EXPECT_FALSE(this->player->QueueBlock(block(10)));
  ASSERT_EQ(this->player->OpenOutput(), 0);
  EXPECT_EQ(this->player->PlayedSamples(), 0);
  this->player->QueueBlock(block(44100));
  this->advance(200ms);
  EXPECT_EQ(this->player->PlayedSamples(), 8820);
}

TYPED_TEST(PlayerContract, PacedByTheClockOverTwentyMinutesWithoutDrift) {
  // At 22.05 kHz a 10 ms step is 220.5 frames: a count kept by adding steps
  // would drift; the count must be the clock's time exactly.
  ASSERT_TRUE(this->player->SetFormat({22050, 2}));
  ASSERT_EQ(this->player->OpenOutput(), 0);
  this->events.onRequest = [&] { this->player->QueueBlock(block(2205, 22050)); };
  this->events.onRequest();
  this->events.onRequest();
  for (int minute = 0; minute < 20; ++minute) this->advance(60s);
  EXPECT_EQ(this->player->PlayedSamples(), 20LL * 60 * 22050);
  EXPECT_EQ(this->player->UnderrunCount(), 0);
}

TYPED_TEST(PlayerContract, RefusesWhatItCannotPlay) {
  AudioBlock mono;
  mono.channels = 1;
  mono.samples.assign(100, 0);
  EXPECT_FALSE(this->player->QueueBlock(mono));
  EXPECT_FALSE(this->player->SetFormat({0, 2}));
  EXPECT_FALSE(this->player->SetFormat({44100, 6}));
}

// Devices that fail, on the simulated devices that the cart tests rely on;
// the device player's own failures are tested with its device list.
TEST(SimulatedDevices, AFailedOpenLeavesNoOutputAndAFailureClosesTheOutputAndTellsTheOwner) {
  test::FakeEngine engine;
  Recorder events;
  std::unique_ptr<Player> player = engine.createPlayer();
  player->setEventHandler(&events);
  ASSERT_TRUE(player->SetFormat({44100, 2}));
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
