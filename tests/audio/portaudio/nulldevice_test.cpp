// The device player on the null device: the real mixer driven by a clock
// thread, the UI thread stepped on the real clock. Everything a cart relies
// on, with real threads and no sound card.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio/gain.h"
#include "audio/portaudio/deviceplayer.h"
#include "realtime.h"
#include "support/recordingevents.h"
#include "tone.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

using Recorder = test::RecordingEvents;

DeviceManager::Options nullOnly() {
  DeviceManager::Options o;
  o.usePortAudio = false;
  return o;
}

class NullDevicePlayer : public ::testing::Test {
 protected:
  void SetUp() override { player.setEventHandler(&events); }

  bool runUntilEnd(std::chrono::milliseconds limit) {
    return test::runRealTime(clock, limit, [this] { return events.count("end") > 0; });
  }

  ManualScheduler clock;
  DeviceManager devices{clock, nullOnly()};
  DevicePlayer player{clock, devices};
  Recorder events;
};

TEST_F(NullDevicePlayer, TheNullDeviceIsTheOneDevice) {
  EXPECT_EQ(player.DeviceCount(), 1);
  EXPECT_EQ(player.CurrentDevice(), 0);
  EXPECT_EQ(player.DeviceName(), "No sound card (silent output)");
  EXPECT_TRUE(player.DeviceUsable());
  for (int number : {1, -1}) {  // no device behind these numbers
    player.SelectDevice(number);
    EXPECT_FALSE(player.DeviceUsable());
    EXPECT_EQ(player.DeviceName(), "");
  }
  ASSERT_TRUE(player.SetFormat({44100, 2}));
  EXPECT_LT(player.OpenOutput(), 0);
  EXPECT_FALSE(player.lastError().empty());
}

// Files at the common rates, mono and stereo, each played to its end on the
// 48 kHz null device: the count ends exactly at the file's length.
struct PlayCase {
  int rate;
  int channels;
};
class NullDevicePlays : public NullDevicePlayer, public ::testing::WithParamInterface<PlayCase> {};

TEST_P(NullDevicePlays, ToTheEndWithExactCountsAndRegularTimers) {
  const AudioFormat format{GetParam().rate, GetParam().channels};
  ASSERT_TRUE(player.SetFormat(format));
  ASSERT_EQ(player.OpenOutput(), 0);
  const int frames = format.sampleRate / 10;
  long fed = 0;  // eight blocks of 100 ms, one at each request, then the end mark
  events.onRequest = [&] {
    fed < 8 ? (void)player.QueueBlock(test::sineBlock(format.sampleRate, format.channels, 440, 8000,
                                                      fed++ * frames, frames))
            : player.MarkEndOfFile();
  };
  events.onRequest();  // two blocks at the start, as a cart queues them
  events.onRequest();
  ASSERT_TRUE(runUntilEnd(5s));
  EXPECT_EQ(player.PlayedSamples(), 8 * frames);
  EXPECT_EQ(player.UnderrunCount(), 0);
  // 0.8 s at one Timer per 50 ms; the count only grows.
  EXPECT_GE(events.count("timer"), 12);
  EXPECT_TRUE(std::is_sorted(events.timerSamples.begin(), events.timerSamples.end()));
  // No request once the end is marked, and the end comes once.
  const auto end = std::find(events.log.begin(), events.log.end(), "end");
  EXPECT_EQ(std::count(end, events.log.end(), "request"), 0);
  test::runRealTime(clock, 100ms);
  EXPECT_EQ(events.count("end"), 1);
}

INSTANTIATE_TEST_SUITE_P(Rates, NullDevicePlays,
                         ::testing::Values(PlayCase{48000, 2}, PlayCase{44100, 2},
                                           PlayCase{22050, 1}, PlayCase{44100, 1}),
                         [](const auto& info) {
                           return std::to_string(info.param.rate) + "Hz" +
                                  std::to_string(info.param.channels) + "ch";
                         });

TEST_F(NullDevicePlayer, PlayedSamplesFollowsTheDeviceNotTheQueue) {
  ASSERT_TRUE(player.SetFormat({48000, 2}));
  ASSERT_EQ(player.OpenOutput(), 0);
  player.QueueBlock(test::sineBlock(48000, 2, 440, 8000, 0, 48000));  // 1 s queued at once
  test::runRealTime(clock, 300ms);
  const FrameCount played = player.PlayedSamples();
  // About 300 ms heard, far from the second queued.
  EXPECT_GT(played, 48000 * 2 / 10);
  EXPECT_LT(played, 48000 * 6 / 10);
  EXPECT_EQ(player.queuedDeviceFrames(), 48000 - player.PlayedSamples());
}

TEST_F(NullDevicePlayer, ResetAndCloseRestartTheCountAndSilenceTheEvents) {
  ASSERT_TRUE(player.SetFormat({44100, 2}));
  ASSERT_EQ(player.OpenOutput(), 0);
  player.QueueBlock(test::sineBlock(44100, 2, 440, 8000, 0, 44100));
  test::runRealTime(clock, 200ms);
  EXPECT_GT(player.PlayedSamples(), 0);
  player.ResetOutput();
  EXPECT_EQ(player.PlayedSamples(), 0);
  EXPECT_EQ(player.OutputStatus(), 0);
  player.QueueBlock(test::sineBlock(44100, 2, 440, 8000, 0, 4410));
  player.MarkEndOfFile();
  ASSERT_TRUE(runUntilEnd(2s));
  EXPECT_EQ(player.PlayedSamples(), 4410);

  player.CloseOutput();
  EXPECT_LT(player.OutputStatus(), 0);
  EXPECT_EQ(player.PlayedSamples(), 0);
  EXPECT_FALSE(player.QueueBlock(test::sineBlock(44100, 2, 440, 8000, 0, 10)));
  for (auto s : player.RecentSamples(32)) EXPECT_EQ(s, 0);
  events.log.clear();
  test::runRealTime(clock, 200ms);
  EXPECT_TRUE(events.log.empty());
}

TEST_F(NullDevicePlayer, ManyPlayersShareTheDeviceAndRescanWaitsForThemToStop) {
  std::vector<std::unique_ptr<DevicePlayer>> players;
  for (int i = 0; i < 26; ++i) {
    players.push_back(std::make_unique<DevicePlayer>(clock, devices));
    ASSERT_TRUE(players.back()->SetFormat({44100, 2}));
    ASSERT_EQ(players.back()->OpenOutput(), 0);
    players.back()->QueueBlock(test::sineBlock(44100, 2, 440, 1000, 0, 44100));
  }
  test::runRealTime(clock, 100ms);
  player.RescanDevices();
  EXPECT_FALSE(player.lastError().empty());  // refused: carts are playing
  for (auto& p : players) {
    EXPECT_GT(p->PlayedSamples(), 0);
    p->CloseOutput();
  }
  player.RescanDevices();
  EXPECT_TRUE(devices.lastError().empty());
  EXPECT_EQ(player.DeviceCount(), 1);
  ASSERT_TRUE(player.SetFormat({44100, 2}));
  EXPECT_EQ(player.OpenOutput(), 0);
}

}  // namespace
}  // namespace quillon::audio
