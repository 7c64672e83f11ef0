// The player on a real PortAudio device: PortAudio's JACK device `system` on
// a JACK dummy server that the test starts, with a JACK client of the test's
// own recording what reaches the server. Skipped, with the reason, only where
// jackd cannot start.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

#include "audio/gain.h"
#include "audio/portaudio/deviceplayer.h"
#include "jackrecorder.h"
#include "support/jackserver.h"
#include "realtime.h"
#include "support/recordingevents.h"
#include "tone.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

constexpr double kToneHz = 997;       // not a divisor of any rate used
constexpr double kAmplitude = 16384;  // half of full scale, before the gain
constexpr float kGainPercent = 50;    // so a quarter of full scale is heard

using Events = test::RecordingEvents;

// One server name per process, set before PortAudio is first loaded (the
// library reads it from the environment it was loaded with).
std::string serverName() {
  static const std::string name = [] {
    const std::string n = "quillon-test-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", n.c_str(), 1);
    return n;
  }();
  return name;
}

int findDevice(const Player& player, const std::string& name) {
  for (int d = 0; d < player.DeviceCount(); ++d) {
    auto& p = const_cast<Player&>(player);
    p.SelectDevice(d);
    if (p.DeviceName() == name && p.DeviceUsable()) return d;
  }
  return -1;
}

class JackDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    // The dummy server is not real-time: on a busy machine it and PortAudio's
    // thread wait behind other work and miss cycles. A higher priority for
    // this process and the server it starts (where allowed) keeps them on
    // time; where it is not allowed, the attempts below still cope.
    setpriority(PRIO_PROCESS, 0, -20);
    server = std::make_unique<test::JackServer>(serverName());
    std::string error;
    if (!server->start(error)) {
      GTEST_SKIP() << "jackd cannot start here (" << error
                   << "); this test needs a JACK dummy server";
    }
    std::cout << "JACK dummy server " << server->name()
              << (server->realtime() ? ", real-time\n"
                                     : ", not real-time (" + server->realtimeRefusal() + ")\n");
    devices = std::make_unique<DeviceManager>(clock);
    ASSERT_TRUE(devices->lastError().empty()) << devices->lastError();
    connectRecorder();
  }
  void TearDown() override {
    players.clear();
    devices.reset();
    if (recorder && server && !server->running()) recorder->abandon();
    recorder.reset();
    if (server) server->stop();
  }

  // Opens the device's stream and records what it sends.
  void connectRecorder() {
    DevicePlayer probe(clock, *devices);
    device = findDevice(probe, "system");
    ASSERT_GE(device, 0) << "PortAudio does not list the JACK device";
    std::string error;
    ASSERT_NE(devices->stream(device, error), nullptr) << error;
    recorder = std::make_unique<test::JackRecorder>(server->name(), 30, error);
    ASSERT_TRUE(recorder->ok()) << error;
    ASSERT_TRUE(recorder->connectFrom("Quillon", error)) << error;
    // New connections reorder the server's graph, which may cost it a cycle.
    test::runRealTime(clock, 200ms);
  }

  DevicePlayer& newPlayer(Events& events) {
    players.push_back(std::make_unique<DevicePlayer>(clock, *devices));
    players.back()->SelectDevice(device);
    players.back()->setEventHandler(&events);
    return *players.back();
  }

  // Feeds 100 ms blocks of the tone, scaled by the gain, at every request.
  static void feedTone(DevicePlayer& player, Events& events, int rate, Gain& gain, long& next) {
    events.onRequest = [&player, rate, &gain, &next] {
      const int frames = rate / 10;
      // Starting at the sine's peak: a start without a fade would click.
      player.QueueBlock(gain.ApplyGain(
          test::sineBlock(rate, 2, kToneHz, kAmplitude, next, frames, M_PI / 2), kGainPercent));
      next += frames;
    };
  }

  struct Heard {
    bool judged = false;  // false: glitches spoil what would be judged
    bool channelsEqual = false;
    std::int64_t underruns = 0;
    long soundFrames = 0, silenceAfter = 0;
    double frequency = 0, rms = 0, largestStep = 0;
  };
  static constexpr int kAttempts = 6;

  // Plays the tone from a file at `rate`, stops it mid-play after 0.7 s, and
  // measures what the server received from just before the start to 0.2 s
  // after the stop, leaving out frames near a glitch of the server or the
  // recorder (not the player's doing).
  Heard playTone(int rate) {
    Events events;
    DevicePlayer& player = newPlayer(events);
    Gain gain;
    long next = 0;
    feedTone(player, events, rate, gain, next);
    const long from = recorder->position();
    EXPECT_TRUE(player.SetFormat({rate, 2}));
    EXPECT_EQ(player.OpenOutput(), 0) << player.lastError();
    events.onRequest();
    events.onRequest();
    test::runRealTime(clock, 700ms);
    Heard h;
    h.underruns = player.UnderrunCount();
    player.CloseOutput();  // mid-wave
    test::runRealTime(clock, 200ms);
    player.setEventHandler(nullptr);  // `events` ends here
    const long to = recorder->position();
    const std::vector<float> x = recorder->channel(0, from, to);
    h.channelsEqual = x == recorder->channel(1, from, to);
    // An xrun is reported up to a moment after it: mark 200 ms before it and 10 ms after.
    const int deviceRate = recorder->sampleRate();
    std::vector<bool> suspect(x.size(), false);
    for (const long g : recorder->glitches()) {
      for (long i = std::max(g - deviceRate / 5, from); i < std::min(g + deviceRate / 100, to);
           ++i) {
        suspect[static_cast<std::size_t>(i - from)] = true;
      }
    }
    const auto clean = [&](long begin, long end) {
      for (long i = std::max(begin, 0L); i < std::min<long>(end, std::ssize(x)); ++i) {
        if (suspect[static_cast<std::size_t>(i)]) return false;
      }
      return true;
    };
    long first = 0, last = std::ssize(x);
    while (first < last && x[static_cast<std::size_t>(first)] == 0.0f) ++first;
    while (last > first && x[static_cast<std::size_t>(last - 1)] == 0.0f) --last;
    const long edge = deviceRate / 30;  // the fades and a little on each side
    if (!clean(first - edge, first + edge) || !clean(last - edge, last + edge)) return h;
    // The longest clean stretch of the steady part.
    long bestFrom = 0, bestLength = 0;
    for (long i = first + deviceRate / 10, run = 0; i < first + deviceRate / 2 && i < last; ++i) {
      run = suspect[static_cast<std::size_t>(i)] ? 0 : run + 1;
      if (run > bestLength) {
        bestLength = run;
        bestFrom = i - run + 1;
      }
    }
    if (bestLength < deviceRate / 10) return h;
    const std::vector<float> steady(x.begin() + bestFrom, x.begin() + bestFrom + bestLength);
    h.judged = true;
    h.soundFrames = last - first;
    h.silenceAfter = std::ssize(x) - last;
    h.frequency = test::frequency(steady, deviceRate);
    h.rms = test::rms(steady);
    for (std::size_t i = 1; i < x.size(); ++i) {
      if (!suspect[i] && !suspect[i - 1]) {
        h.largestStep = std::max(h.largestStep, std::fabs(double{x[i]} - x[i - 1]));
      }
    }
    return h;
  }

  ManualScheduler clock;
  std::unique_ptr<test::JackServer> server;
  std::unique_ptr<DeviceManager> devices;
  std::unique_ptr<test::JackRecorder> recorder;
  std::vector<std::unique_ptr<DevicePlayer>> players;
  int device = -1;
};

TEST_F(JackDevice, TonesAtEveryRateArriveInTuneAtTheirLevelWithoutClicks) {
  const int deviceRate = recorder->sampleRate();
  ASSERT_EQ(deviceRate, 48000);
  const double level = kAmplitude * kGainPercent / 100 / 32768;  // 0.25
  // A sine's largest step from one frame to the next, plus what a fade adds.
  const double smoothStep = 2 * M_PI * kToneHz * level / deviceRate + level / 100;

  for (const int rate : {22050, 44100, 48000}) {
    SCOPED_TRACE("file rate " + std::to_string(rate));
    // A cycle the server ran late (anyone's lateness on a busy machine) is a
    // gap or a repeat in what is heard that says nothing of the player. Such
    // frames are left out of the checks; an attempt whose start, stop or
    // steady part they spoil is played again.
    Heard heard;
    for (int attempt = 0; attempt < kAttempts && !heard.judged; ++attempt) {
      heard = playTone(rate);
    }
    ASSERT_TRUE(heard.judged) << "the JACK server ran late in every one of " << kAttempts
                              << " attempts: the machine is too busy to judge the sound";
    EXPECT_EQ(heard.underruns, 0);
    EXPECT_TRUE(heard.channelsEqual);
    ASSERT_GT(heard.soundFrames, deviceRate / 2) << "too little sound heard";
    // Stopped mid-play: well before the 0.9 s queued, and silent after.
    EXPECT_LT(heard.soundFrames, deviceRate * 85 / 100);
    EXPECT_GT(heard.silenceAfter, deviceRate / 10);
    EXPECT_NEAR(heard.frequency, kToneHz, 0.5);
    EXPECT_NEAR(heard.rms, level / std::sqrt(2.0), level * 0.02);
    // The start at the sine's peak and the stop mid-wave both fade.
    EXPECT_LE(heard.largestStep, smoothStep);
  }
}

TEST_F(JackDevice, AServerThatDiesFailsEveryPlayerAndARescanFindsItAgain) {
  Events eventsA, eventsB;
  DevicePlayer& a = newPlayer(eventsA);
  DevicePlayer& b = newPlayer(eventsB);
  Gain gainA, gainB;
  long nextA = 0, nextB = 0;
  feedTone(a, eventsA, 44100, gainA, nextA);
  feedTone(b, eventsB, 48000, gainB, nextB);
  ASSERT_TRUE(a.SetFormat({44100, 2}));
  ASSERT_TRUE(b.SetFormat({48000, 2}));
  ASSERT_EQ(a.OpenOutput(), 0) << a.lastError();
  ASSERT_EQ(b.OpenOutput(), 0) << b.lastError();
  eventsA.onRequest();
  eventsB.onRequest();
  test::runRealTime(clock, 300ms);
  ASSERT_GT(a.PlayedSamples(), 0);
  ASSERT_GT(b.PlayedSamples(), 0);

  const auto killedAt = std::chrono::steady_clock::now();
  server->kill();
  recorder->abandon();
  const bool told = test::runRealTime(
      clock, 3s, [&] { return eventsA.count("failed") > 0 && eventsB.count("failed") > 0; });
  const auto detection = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - killedAt);
  ASSERT_TRUE(told) << "no DeviceFailed within 3 s";
  std::cout << "device failure reported " << detection.count() << " ms after the server died\n";
  RecordProperty("failure_detection_ms", static_cast<int>(detection.count()));
  EXPECT_LT(detection, 1s);
  EXPECT_EQ(eventsA.count("failed"), 1);
  EXPECT_FALSE(eventsA.failure.empty());
  EXPECT_LT(a.OutputStatus(), 0);
  EXPECT_LT(b.OutputStatus(), 0);
  EXPECT_FALSE(a.DeviceUsable());
  EXPECT_LT(a.OpenOutput(), 0);

  // The server comes back: the list, read again, has the device again.
  std::string error;
  ASSERT_TRUE(server->start(error)) << error;
  a.RescanDevices();
  ASSERT_TRUE(devices->lastError().empty()) << devices->lastError();
  device = findDevice(a, "system");
  ASSERT_GE(device, 0);
  recorder.reset();
  connectRecorder();
  a.SelectDevice(device);
  ASSERT_TRUE(a.SetFormat({44100, 2}));
  ASSERT_EQ(a.OpenOutput(), 0) << a.lastError();
  const long from = recorder->position();
  eventsA.onRequest = nullptr;
  a.QueueBlock(gainA.ApplyGain(test::sineBlock(44100, 2, kToneHz, kAmplitude, 0, 13230), 100));
  a.MarkEndOfFile();
  ASSERT_TRUE(test::runRealTime(clock, 3s, [&] { return eventsA.count("end") > 0; }));
  EXPECT_EQ(a.PlayedSamples(), 13230);
  const auto heard = recorder->channel(0, from, recorder->position());
  EXPECT_NEAR(*std::max_element(heard.begin(), heard.end()), 0.5, 0.02);
}

}  // namespace
}  // namespace quillon::audio
