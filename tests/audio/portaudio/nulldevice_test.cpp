// The device player on the null device, with no sound card: the real mixer
// driven by the device's clock thread with the UI thread stepped on the real
// clock, or paced by the test so that every frame played can be checked.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/gain.h"
#include "audio/portaudio/deviceplayer.h"
#include "realtime.h"
#include "support/pacedrender.h"
#include "support/recordingevents.h"
#include "tone.h"

namespace quillon::audio {
namespace {

// The block scaled at `percent` with no fade, as a copy.
audio::AudioBlock scaled(audio::Gain& gain, audio::AudioBlock block, float percent) {
  gain.applyInPlace(block, percent, {}, 0);
  return block;
}

using namespace std::chrono_literals;

using Recorder = test::RecordingEvents;

TEST(NullDevicePlayer, TheOneDeviceIsSharedByManyPlayersAndARescanCutsNone) {
  ManualScheduler clock;
  DeviceManager devices{clock, {.useSystemDevices = false}};
  DevicePlayer player{clock, devices};
  EXPECT_EQ(player.DeviceCount(), 1);
  EXPECT_EQ(player.CurrentDevice(), 0);
  EXPECT_EQ(player.DeviceName(), "No sound card (silent output)");
  EXPECT_TRUE(player.DeviceUsable());
  ASSERT_TRUE(player.SetFormat({44100, 2}));
  for (int number : {1, -1}) {  // no device behind these numbers
    player.SelectDevice(number);
    EXPECT_FALSE(player.DeviceUsable());
    EXPECT_EQ(player.DeviceName(), "");
    EXPECT_LT(player.OpenOutput(), 0);
    EXPECT_FALSE(player.lastError().empty());
  }
  std::vector<std::unique_ptr<DevicePlayer>> players;
  for (int i = 0; i < 26; ++i) {
    players.push_back(std::make_unique<DevicePlayer>(clock, devices));
    ASSERT_TRUE(players.back()->SetFormat({44100, 2}));
    ASSERT_EQ(players.back()->OpenOutput(), 0);
    players.back()->QueueBlock(test::sineBlock(44100, 2, 440, 1000, 0, 44100));
  }
  test::runRealTime(clock, 100ms);
  // Reading the list again cuts no player: they all go on.
  player.RescanDevices();
  EXPECT_TRUE(devices.lastError().empty()) << devices.lastError();
  EXPECT_EQ(player.DeviceCount(), 1);
  std::vector<FrameCount> before;
  for (auto& p : players) before.push_back(p->PlayedSamples());
  test::runRealTime(clock, 50ms);
  for (std::size_t i = 0; i < players.size(); ++i) {
    EXPECT_GT(players[i]->PlayedSamples(), before[i]);
    EXPECT_EQ(players[i]->OutputStatus(), 0);
    players[i]->CloseOutput();
  }
  player.SelectDevice(0);
  EXPECT_EQ(player.OpenOutput(), 0);
}

TEST(NullDeviceConverting, ConvertedOnTheThreadPlaysStartAtOnceEndExactlyAndARestartDropsTheOld) {
  ManualScheduler clock;
  DeviceManager devices(clock, {.useSystemDevices = false, .convertOnThread = true});
  struct Cart {
    std::unique_ptr<DevicePlayer> player;
    Recorder events;
    int rate = 0;
    int fed = 0;
  };
  std::vector<Cart> carts(26);
  for (std::size_t i = 0; i < carts.size(); ++i) {
    Cart& cart = carts[i];
    cart.rate = i % 3 == 0 ? 22050 : 44100;
    const int channels = i % 3 == 0 ? 1 : 2;
    cart.player = std::make_unique<DevicePlayer>(clock, devices);
    cart.player->setEventHandler(&cart.events);
    ASSERT_TRUE(cart.player->SetFormat({cart.rate, channels}));
    ASSERT_EQ(cart.player->OpenOutput(), 0);
    // Eight blocks of 100 ms, one at each request, then the end mark.
    cart.events.onRequest = [&cart, channels] {
      if (cart.fed == 8) return cart.player->MarkEndOfFile();
      const int frames = cart.rate / 10;
      cart.player->QueueBlock(
          test::sineBlock(cart.rate, channels, 997, 8000, cart.fed++ * frames, frames));
    };
  }
  for (Cart& cart : carts) {
    cart.events.onRequest();  // two blocks at the start, as a cart queues them
    cart.events.onRequest();
    // Both at the device at once (9600 frames at 48 kHz, less what the
    // device has played meanwhile), not waiting for the thread.
    EXPECT_GT(cart.player->queuedDeviceFrames(), 8000);
  }
  const bool ended = test::runRealTime(clock, 5s, [&] {
    return std::all_of(carts.begin(), carts.end(),
                       [](const Cart& c) { return c.events.count("end") > 0; });
  });
  ASSERT_TRUE(ended);
  for (const Cart& cart : carts) {
    EXPECT_EQ(cart.events.count("end"), 1);
    EXPECT_EQ(cart.player->PlayedSamples(), 8 * (cart.rate / 10));
    EXPECT_EQ(cart.player->UnderrunCount(), 0);
  }

  // Restarted with blocks still on their way to the thread, then restarted
  // again at once, as a seek or a loop restart does: nothing queued before a
  // restart is heard after it, only the new play's 50 ms.
  for (std::size_t i = 0; i < carts.size(); ++i) {
    Cart& cart = carts[i];
    const int channels = i % 3 == 0 ? 1 : 2;
    cart.events.onRequest = nullptr;
    cart.events.log.clear();
    cart.player->ResetOutput();
    for (int b = 0; b < 6; ++b) {
      cart.player->QueueBlock(test::sineBlock(cart.rate, channels, 997, 8000, 0, cart.rate / 10));
    }
    cart.player->ResetOutput();
    cart.player->QueueBlock(test::sineBlock(cart.rate, channels, 997, 8000, 0, cart.rate / 20));
    EXPECT_LE(cart.player->queuedDeviceFrames(), 48000 / 20);  // the new block alone
    cart.player->MarkEndOfFile();
  }
  ASSERT_TRUE(test::runRealTime(clock, 5s, [&] {
    return std::all_of(carts.begin(), carts.end(),
                       [](const Cart& c) { return c.events.count("end") > 0; });
  }));
  for (const Cart& cart : carts) EXPECT_EQ(cart.player->UnderrunCount(), 0);
}

// The null device paced by the test, so that every frame it plays is kept.
class PacedNullDevice : public ::testing::TestWithParam<std::pair<int, int>> {  // rate, channels
 protected:
  // Plays on for `duration`, keeping both channels of what the device plays.
  void play(std::chrono::milliseconds duration) {
    std::string error;
    ASSERT_TRUE(paced.play(duration, error, [this](std::span<const std::int16_t> out) {
      for (std::size_t i = 0; i < out.size(); i += 2) {
        left.push_back(out[i] / 32768.0f);
        right.push_back(out[i + 1] / 32768.0f);
      }
    })) << error;
  }

  ManualScheduler clock;
  DeviceManager devices{clock, {.useSystemDevices = false, .nullPacedByCaller = true}};
  test::PacedRender paced{clock, devices};
  std::vector<float> left, right;
};

// Files at the common rates, mono and stereo, each played to its end on the
// 48 kHz null device: the count ends exactly at the file's length, and what
// the device plays is the file's tone, in tune, at its level, without clicks.
TEST_P(PacedNullDevice,
       PlaysToTheEndInTuneAtItsLevelWithExactCountsAndRestartsAndClosesWithoutAClick) {
  const auto [rate, channels] = GetParam();
  constexpr double kToneHz = 997;  // not a divisor of any rate used
  const double level = 0.25;       // half of full scale in the file, at a gain of 50 %
  // A sine's largest step from one frame to the next, plus what a fade adds.
  const double smoothStep = 2 * M_PI * kToneHz * level / 48000 + level / 100;
  DevicePlayer player(clock, devices);
  Recorder events;
  player.setEventHandler(&events);
  Gain gain;
  const int frames = rate / 10;
  long fed = 0;  // eight blocks of 100 ms, one at each request, then the end mark
  events.onRequest = [&] {
    if (fed == 8) return player.MarkEndOfFile();
    // From the sine's peak: a start without a fade would click.
    player.QueueBlock(scaled(
        gain, test::sineBlock(rate, channels, kToneHz, 16384, fed++ * frames, frames, M_PI / 2),
        50.f));
  };
  ASSERT_TRUE(player.SetFormat({rate, channels}));
  ASSERT_EQ(player.OpenOutput(), 0) << player.lastError();
  events.onRequest();  // two blocks at the start, as a cart queues them
  events.onRequest();
  play(1000ms);
  EXPECT_EQ(events.count("end"), 1);
  EXPECT_EQ(player.PlayedSamples(), 8 * frames);
  EXPECT_EQ(player.UnderrunCount(), 0);
  // One Timer per 50 ms, the count only growing; no request once the end is marked.
  EXPECT_GE(events.count("timer"), 18);
  EXPECT_LE(events.count("timer"), 21);
  EXPECT_TRUE(std::is_sorted(events.timerSamples.begin(), events.timerSamples.end()));
  const auto end = std::find(events.log.begin(), events.log.end(), "end");
  EXPECT_EQ(std::count(end, events.log.end(), "request"), 0);

  EXPECT_TRUE(left == right);
  const auto heard = [](float x) { return x != 0.0f; };
  const long first = std::find_if(left.begin(), left.end(), heard) - left.begin();
  const long last = left.rend() - std::find_if(left.rbegin(), left.rend(), heard);
  EXPECT_NEAR(last - first, 48000 * 8 / 10, 48000 / 100);
  ASSERT_GT(last - first, 30000);
  const std::vector<float> steady(left.begin() + first + 4800, left.begin() + first + 28800);
  EXPECT_NEAR(test::frequency(steady, 48000), kToneHz, 0.5);
  EXPECT_NEAR(test::rms(steady), level / std::sqrt(2.0), level * 0.02);

  // Played again with a second queued at once, from the sine's peak, and
  // closed mid-wave: the count restarts at the reset and follows the device,
  // not the queue; the sound fades in and out; nothing comes after the close.
  const std::size_t again = left.size();
  events.onRequest = nullptr;
  player.ResetOutput();
  EXPECT_EQ(player.PlayedSamples(), 0);
  EXPECT_EQ(player.OutputStatus(), 0);
  player.QueueBlock(
      scaled(gain, test::sineBlock(rate, channels, kToneHz, 16384, 0, rate, M_PI / 2), 50.f));
  play(300ms);
  EXPECT_NEAR(player.PlayedSamples(), rate * 3 / 10, rate / 50);
  player.CloseOutput();
  EXPECT_LT(player.OutputStatus(), 0);
  EXPECT_EQ(player.PlayedSamples(), 0);
  EXPECT_FALSE(player.QueueBlock(test::sineBlock(rate, channels, kToneHz, 1000, 0, 10)));
  EXPECT_EQ(player.RecentSamples(32), std::vector<std::int16_t>(32, 0));
  events.log.clear();
  play(100ms);
  EXPECT_TRUE(events.log.empty());
  float largestStep = 0;
  for (std::size_t i = again + 1; i < left.size(); ++i) {
    largestStep = std::max(largestStep, std::fabs(left[i] - left[i - 1]));
  }
  EXPECT_LE(largestStep, smoothStep);
  EXPECT_GT(*std::max_element(left.begin() + again, left.end()), 0.2f);
  EXPECT_TRUE(std::all_of(left.end() - 2400, left.end(), [](float x) { return x == 0.0f; }));
}

INSTANTIATE_TEST_SUITE_P(Rates, PacedNullDevice,
                         ::testing::Values(std::pair{48000, 2}, std::pair{44100, 2},
                                           std::pair{22050, 1}, std::pair{44100, 1}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "Hz" +
                                  std::to_string(info.param.second) + "ch";
                         });

}  // namespace
}  // namespace quillon::audio
