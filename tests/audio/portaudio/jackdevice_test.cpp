// The player on a real device: the first pair of playback ports of a JACK
// dummy server that the test starts, chosen by name, killed under playing
// players and started again (twenty times in one process), with a JACK client
// of the test's own recording what reaches the server. Skipped, with the
// reason, only where jackd cannot start.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <tuple>

#include "audio/jack/jackbackend.h"
#include "audio/portaudio/deviceplayer.h"
#include "jackrecorder.h"
#include "realtime.h"
#include "support/jackserver.h"
#include "support/recordingevents.h"
#include "tone.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

using Events = test::RecordingEvents;

// The device the tests listen to, by name: whatever else the machine lists
// (ALSA's plugins, a card) comes and goes around it.
constexpr const char* kSystemPair = "system:playback_1+2";

// Entries in a folder of /proc/self: descriptors, threads.
int entries(const char* folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

// One server name per process, set before the first JACK client opens.
std::string serverName() {
  static const std::string name = [] {
    const std::string n = "quillon-test-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", n.c_str(), 1);
    return n;
  }();
  return name;
}

int findDevice(Player& player, const std::string& name) {
  for (int d = 0; d < player.DeviceCount(); ++d) {
    player.SelectDevice(d);
    if (player.DeviceName() == name && player.DeviceUsable()) return d;
  }
  return -1;
}

class JackDevice : public ::testing::Test {
 protected:
  void SetUp() override {
    // The dummy server is not real-time: a higher priority for this process
    // and the server it starts (where allowed) keeps them on time.
    setpriority(PRIO_PROCESS, 0, -20);
    server = std::make_unique<test::JackServer>(serverName());
    std::string error;
    if (!server->start(error)) {
      GTEST_SKIP() << "jackd cannot start here (" << error
                   << "); this test needs a JACK dummy server";
    }
    // JACK's back end alone: what these tests put through deaths and returns.
    // PortAudio beside it (whose ALSA probing leaves allocations of ALSA's
    // plugins behind at each Pa_Terminate) is the end-to-end tests' part, in
    // the program.
    std::vector<std::unique_ptr<OutputBackend>> backends;
    backends.push_back(std::make_unique<JackBackend>());
    devices = std::make_unique<DeviceManager>(clock, DeviceManager::Options{}, std::move(backends));
    ASSERT_TRUE(devices->lastError().empty()) << devices->lastError();
  }
  void TearDown() override {
    devices.reset();
    if (recorder && !server->running()) recorder->abandon();
    recorder.reset();
    server->stop();
  }

  ManualScheduler clock;
  std::unique_ptr<test::JackServer> server;
  std::unique_ptr<DeviceManager> devices;
  std::unique_ptr<test::JackRecorder> recorder;
};

TEST_F(JackDevice, AServerThatDiesFailsEveryPlayerAndARescanFindsItAgain) {
  Events eventsA, eventsB;
  DevicePlayer a(clock, *devices), b(clock, *devices);
  const int device = findDevice(a, kSystemPair);
  ASSERT_GE(device, 0) << "the JACK server's playback ports are not listed";
  long nextA = 0, nextB = 0;
  // 100 ms blocks of a tone at every request.
  for (auto [player, events, rate, next] :
       {std::tuple{&a, &eventsA, 44100, &nextA}, std::tuple{&b, &eventsB, 48000, &nextB}}) {
    events->onRequest = [player, rate, next] {
      player->QueueBlock(test::sineBlock(rate, 2, 997, 8192, *next, rate / 10));
      *next += rate / 10;
    };
    player->SelectDevice(device);
    player->setEventHandler(events);
    ASSERT_TRUE(player->SetFormat({rate, 2}));
    ASSERT_EQ(player->OpenOutput(), 0) << player->lastError();
    events->onRequest();
  }
  test::runRealTime(clock, 300ms);
  ASSERT_GT(a.PlayedSamples(), 0);
  ASSERT_GT(b.PlayedSamples(), 0);

  const auto killedAt = std::chrono::steady_clock::now();
  server->kill();
  const bool told = test::runRealTime(
      clock, 3s, [&] { return eventsA.count("failed") > 0 && eventsB.count("failed") > 0; });
  ASSERT_TRUE(told) << "no DeviceFailed within 3 s";
  EXPECT_LT(std::chrono::steady_clock::now() - killedAt, 1s);
  EXPECT_EQ(eventsA.count("failed"), 1);
  EXPECT_FALSE(eventsA.failure.empty());
  EXPECT_LT(a.OutputStatus(), 0);
  EXPECT_LT(b.OutputStatus(), 0);
  EXPECT_FALSE(a.DeviceUsable());
  EXPECT_LT(a.OpenOutput(), 0);

  // The server comes back: the list, read again, has the device again, and a
  // play on it reaches the server whole and at its level.
  std::string error;
  ASSERT_TRUE(server->start(error)) << error;
  a.RescanDevices();
  ASSERT_TRUE(devices->lastError().empty()) << devices->lastError();
  const int again = findDevice(a, kSystemPair);
  ASSERT_EQ(again, device);  // the same number: whoever chose it plays to it again
  ASSERT_NE(devices->stream(again, error), nullptr) << error;
  recorder = std::make_unique<test::JackRecorder>(server->name(), 30, error);
  ASSERT_TRUE(recorder->ok()) << error;
  ASSERT_TRUE(recorder->connectFrom("Quillon", error)) << error;
  test::runRealTime(clock, 200ms);  // new connections may cost the server a cycle
  a.SelectDevice(again);
  ASSERT_TRUE(a.SetFormat({44100, 2}));
  ASSERT_EQ(a.OpenOutput(), 0) << a.lastError();
  const long from = recorder->position();
  eventsA.onRequest = nullptr;
  a.QueueBlock(test::sineBlock(44100, 2, 997, 16384, 0, 13230));
  a.MarkEndOfFile();
  ASSERT_TRUE(test::runRealTime(clock, 3s, [&] { return eventsA.count("end") > 0; }));
  EXPECT_EQ(a.PlayedSamples(), 13230);
  const auto heard = recorder->channel(0, from, recorder->position());
  EXPECT_NEAR(*std::max_element(heard.begin(), heard.end()), 0.5, 0.02);
}

TEST_F(JackDevice, TwentyDeathsAndReturnsInOneProcessSoundAfterEachAndNothingLeftBehind) {
  Events events;
  DevicePlayer cart(clock, *devices);
  cart.setEventHandler(&events);
  const int device = findDevice(cart, kSystemPair);
  ASSERT_GE(device, 0);
  long next = 0;
  events.onRequest = [&] {
    cart.QueueBlock(test::sineBlock(48000, 2, 997, 16384, next, 4800));
    next += 4800;
  };
  int fds = 0, threads = 0;
  constexpr int kCycles = 20;
  for (int cycle = 0; cycle < kCycles; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    // A play, heard at the server at its level.
    cart.SelectDevice(device);
    ASSERT_TRUE(cart.SetFormat({48000, 2}));
    ASSERT_EQ(cart.OpenOutput(), 0) << cart.lastError();
    std::string error;
    recorder = std::make_unique<test::JackRecorder>(server->name(), 3, error);
    ASSERT_TRUE(recorder->ok()) << error;
    ASSERT_TRUE(recorder->connectFrom(kJackClientName, error)) << error;
    next = 0;
    events.onRequest();
    const bool heard = test::runRealTime(clock, 3s, [&] {
      const auto x = recorder->channel(0, 0, recorder->position());
      return !x.empty() && *std::max_element(x.begin(), x.end()) > 0.45F;
    });
    ASSERT_TRUE(heard) << "nothing heard after return " << cycle;
    recorder.reset();

    // The server dies under the playing cart, and comes back.
    const int failures = events.count("failed");
    server->kill();
    ASSERT_TRUE(test::runRealTime(clock, 3s, [&] { return events.count("failed") > failures; }));
    EXPECT_FALSE(cart.DeviceUsable());
    ASSERT_TRUE(server->start(error)) << error;
    cart.RescanDevices();
    ASSERT_EQ(findDevice(cart, kSystemPair), device);
    // Whatever a failure left is closed by now (on a thread of its own).
    test::runRealTime(clock, 1s, [&] { return devices->streamsClosing() == 0; });
    if (cycle == 1) {
      fds = entries("/proc/self/fd");
      threads = entries("/proc/self/task");
    }
  }
  EXPECT_LE(entries("/proc/self/fd"), fds + 2);
  EXPECT_LE(entries("/proc/self/task"), threads + 1);
}

}  // namespace
}  // namespace quillon::audio
