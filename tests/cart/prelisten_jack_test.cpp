// Pre-listen on a real device: a JACK dummy server with four playback ports,
// the main output on ports 1-2 and the cue device on ports 3-4, and JACK
// clients of the test's own recording what reaches each pair. Then the cue
// server killed under a pre-listen while a cart plays on air on another
// device (the null device: one process is a client of one JACK server only).
// Skipped, with the reason, only where jackd cannot start.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/jack/jackbackend.h"
#include "audio/manualscheduler.h"
#include "audio/portaudio/deviceplayer.h"
#include "cart/cartouche.h"
#include "portaudio/jackrecorder.h"
#include "portaudio/realtime.h"
#include "portaudio/tone.h"
#include "support/jackserver.h"
#include "wavfile.h"

namespace quillon::cart {
namespace {

using namespace std::chrono_literals;

constexpr int kRate = 48000;
constexpr double kOpeningHz = 440;  // the file's first half second
constexpr double kLaterHz = 997;    // the rest
constexpr double kSilent = 1e-4;

// Six seconds whose start is told apart from the rest by its pitch.
std::string writeTwoTones() {
  std::vector<std::int16_t> samples;
  for (int i = 0; i < 6 * kRate; ++i) {
    const double hz = i < kRate / 2 ? kOpeningHz : kLaterHz;
    const auto s =
        static_cast<std::int16_t>(std::lrint(8192 * std::sin(2 * M_PI * hz * i / kRate)));
    samples.insert(samples.end(), {s, s});
  }
  return test::writeWav("prelisten-two-tones", kRate, samples);
}

// The program's engine over two device managers: FFmpeg reads, and each
// player is made on the manager `makeOn` names at that moment.
class TwoManagerEngine : public audio::Engine {
 public:
  std::unique_ptr<audio::Reader> createReader() override { return media.createReader(); }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    auto player = std::make_unique<audio::DevicePlayer>(clock, *makeOn);
    made.push_back(player.get());
    return player;
  }
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  audio::FfmpegMedia media;
  audio::DeviceManager* makeOn = nullptr;
  std::vector<audio::DevicePlayer*> made;
};

int deviceNamed(const audio::DeviceCatalog& devices, const std::string& name) {
  for (int d = 0; d < devices.count(); ++d) {
    if (devices.device(d) && devices.device(d)->name == name) return d;
  }
  return -1;
}

float peak(const std::vector<float>& x) {
  float p = 0;
  for (float v : x) p = std::max(p, std::abs(v));
  return p;
}

class PreListenJack : public ::testing::Test {
 protected:
  void SetUp() override {
    setpriority(PRIO_PROCESS, 0, -20);
    const std::string name = "quillon-cue-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
    server = std::make_unique<test::JackServer>(name, 4);
    std::string error;
    if (!server->start(error)) GTEST_SKIP() << "jackd cannot start here (" << error << ")";
    std::vector<std::unique_ptr<audio::OutputBackend>> backends;
    backends.push_back(std::make_unique<audio::JackBackend>());
    jack = std::make_unique<audio::DeviceManager>(engine.clock, audio::DeviceManager::Options{},
                                                  std::move(backends));
    main = deviceNamed(*jack, "system:playback_1+2");
    cue = deviceNamed(*jack, "system:playback_3+4");
    ASSERT_GE(main, 0);
    ASSERT_GE(cue, 0) << "the server's ports 3 and 4 are not a device";
    path = writeTwoTones();
    ASSERT_FALSE(path.empty());
  }
  void TearDown() override {
    carts.clear();
    jack.reset();
    nullDevices.reset();
    for (auto* r : {&mainRecording, &cueRecording}) {
      if (*r && server && !server->running()) (*r)->abandon();
      r->reset();
    }
    if (server) server->stop();
    if (!path.empty()) std::remove(path.c_str());
  }
  // A recorder of what reaches the server's playback ports `first` and
  // `first` + 1, once the device's stream is open.
  std::unique_ptr<test::JackRecorder> record(int device, int first) {
    std::string error;
    EXPECT_NE(jack->stream(device, error), nullptr) << error;
    auto r = std::make_unique<test::JackRecorder>(server->name(), 30, error);
    EXPECT_TRUE(r->ok()) << error;
    const std::string port = "system:playback_";
    EXPECT_TRUE(r->connectFromFeedersOf(port + std::to_string(first),
                                        port + std::to_string(first + 1), error))
        << error;
    return r;
  }
  // A cart of the letter, holding the two tones, its output `air` on the
  // manager `airOn` and its cue device on the JACK server's ports 3-4.
  Cartouche& makeCart(const std::string& letter, audio::DeviceManager& airOn, int air) {
    engine.makeOn = &airOn;
    carts.push_back(std::make_unique<Cartouche>(engine));
    Cartouche& c = *carts.back();
    c.SetMyLetter(letter);
    EXPECT_TRUE(c.SetTitle(path));
    c.SetDevOutput(air);
    engine.makeOn = jack.get();
    EXPECT_TRUE(c.setCueDevice(cue));
    return c;
  }

  TwoManagerEngine engine;
  std::unique_ptr<test::JackServer> server;
  std::unique_ptr<audio::DeviceManager> jack;
  std::unique_ptr<audio::DeviceManager> nullDevices;
  std::unique_ptr<test::JackRecorder> mainRecording, cueRecording;
  std::vector<std::unique_ptr<Cartouche>> carts;
  int main = -1, cue = -1;
  std::string path;
};

TEST_F(PreListenJack, APreListenReachesTheCuePortsOnlyAndTheFireOnAirMovesItToTheMainFromItsStart) {
  mainRecording = record(main, 1);
  cueRecording = record(cue, 3);
  Cartouche& cart = makeCart("A", *jack, main);
  const long mainFrom = mainRecording->position();
  const long cueFrom = cueRecording->position();
  cart.KeyPressPreListen("A");
  ASSERT_TRUE(cart.isPreListen()) << cart.lastError();
  test::runRealTime(engine.clock, 1500ms);
  const long cueNow = cueRecording->position();
  EXPECT_GT(test::rms(cueRecording->channel(0, cueFrom, cueNow)), 0.1) << "nothing on the cue";
  EXPECT_GT(test::rms(cueRecording->channel(1, cueFrom, cueNow)), 0.1);
  const long mainAtFire = mainRecording->position();
  for (int c = 0; c < 2; ++c) {
    EXPECT_LT(peak(mainRecording->channel(c, mainFrom, mainAtFire)), kSilent)
        << "the pre-listen reached the main output";
  }

  cart.KeyPressRacc("A");  // on air
  const long cueAtFire = cueRecording->position();
  ASSERT_TRUE(cart.Playing() && !cart.isPreListen());
  test::runRealTime(engine.clock, 1000ms);
  const std::vector<float> heard = mainRecording->channel(0, mainAtFire, mainRecording->position());
  const auto onset =
      std::find_if(heard.begin(), heard.end(), [](float v) { return std::abs(v) > 0.01f; });
  ASSERT_NE(onset, heard.end()) << "nothing on the main output after the fire";
  // 20 to 220 ms into the play: the file's opening pitch, not where the
  // pre-listen had got to.
  const auto from = static_cast<std::size_t>(onset - heard.begin()) + kRate / 50;
  ASSERT_LT(from + kRate / 5, heard.size());
  const std::vector<float> opening(heard.begin() + static_cast<std::ptrdiff_t>(from),
                                   heard.begin() + static_cast<std::ptrdiff_t>(from + kRate / 5));
  EXPECT_NEAR(test::frequency(opening, kRate), kOpeningHz, 3);
  // The cue is silent once what it had queued (a few hundred ms) is gone.
  EXPECT_LT(peak(cueRecording->channel(0, cueAtFire + kRate / 2, cueRecording->position())),
            kSilent);
}

TEST_F(PreListenJack, TheCueServerKilledStopsThePreListenAndTheCartOnAirPlaysOnWithoutAGap) {
  // The main output: the null device, on a clock of its own, in a manager of
  // its own that no JACK server touches.
  nullDevices = std::make_unique<audio::DeviceManager>(
      engine.clock, audio::DeviceManager::Options{.useSystemDevices = false});
  Cartouche& onAir = makeCart("A", *nullDevices, 0);
  audio::DevicePlayer& onAirPlayer = *engine.made[0];
  Cartouche& listening = makeCart("B", *nullDevices, 0);
  onAir.Setloop(1);  // plays on through the whole test
  onAir.playClick();
  listening.KeyPressPreListen("B");
  ASSERT_TRUE(onAir.Playing());
  ASSERT_TRUE(listening.isPreListen()) << listening.lastError();
  test::runRealTime(engine.clock, 1000ms);
  ASSERT_TRUE(listening.Playing());

  const auto killedAt = std::chrono::steady_clock::now();
  const audio::FrameCount playedBefore = onAirPlayer.PlayedSamples();
  server->kill();
  const bool stopped = test::runRealTime(engine.clock, 3s, [&] { return !listening.Playing(); });
  ASSERT_TRUE(stopped) << "the pre-listen did not stop within 3 s of the server's death";
  EXPECT_FALSE(listening.isPreListen());
  EXPECT_FALSE(listening.lastError().empty());
  test::runRealTime(engine.clock, 1000ms);

  EXPECT_TRUE(onAir.Playing());
  EXPECT_EQ(onAirPlayer.UnderrunCount(), 0) << "the cart on air ran dry";
  // What it played since the kill is the time that passed, less at most the
  // player's queue: no stall, no skip.
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - killedAt).count();
  const double played = static_cast<double>(onAirPlayer.PlayedSamples() - playedBefore) / kRate;
  EXPECT_NEAR(played, seconds, 0.25);
}

}  // namespace
}  // namespace quillon::cart
