// A smoke test of the loop and the fades on a real PortAudio device: the
// JACK dummy server's `system`, recorded by a JACK client of the test's own.
// A looping tone must come through every seam with no gap and no dip; a
// faded tone must rise and fall along its ramps. A window the server ran
// late in (the server is not real-time here) is left out. Skipped, with the
// reason, only where jackd cannot start.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cart/cartouche.h"
#include "deviceengine.h"
#include "jackrecorder.h"
#include "realtime.h"
#include "support/jackserver.h"
#include "wavfile.h"

namespace quillon::cart {
namespace {

using namespace std::chrono_literals;

// One server name per process, set before PortAudio is first loaded.
std::string serverName() {
  static const std::string name = [] {
    const std::string n = "quillon-loops-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", n.c_str(), 1);
    return n;
  }();
  return name;
}

// A 450 Hz sine at 44.1 kHz (98 frames a period), `seconds` long.
std::vector<std::int16_t> tone(double seconds, double amplitude) {
  std::vector<std::int16_t> s;
  const long frames = std::lround(seconds * 44100);
  for (long f = 0; f < frames; ++f) {
    const auto x = static_cast<std::int16_t>(std::lrint(amplitude * std::sin(2 * M_PI * f / 98.0)));
    s.push_back(x);
    s.push_back(x);
  }
  return s;
}

class LoopsAndFadesOnJack : public ::testing::Test {
 protected:
  void SetUp() override {
    setpriority(PRIO_PROCESS, 0, -20);
    server = std::make_unique<test::JackServer>(serverName());
    std::string error;
    if (!server->start(error)) {
      GTEST_SKIP() << "jackd cannot start here (" << error
                   << "); this test needs a JACK dummy server";
    }
    engine = std::make_unique<test::DeviceEngine>(audio::DeviceManager::Options{});
    cart = std::make_unique<Cartouche>(*engine);
    audio::DevicePlayer probe(engine->clock, *engine->devices);
    for (int d = 0; d < probe.DeviceCount() && device < 0; ++d) {
      probe.SelectDevice(d);
      if (probe.DeviceName() == "system" && probe.DeviceUsable()) device = d;
    }
    ASSERT_GE(device, 0) << "PortAudio does not list the JACK device";
    ASSERT_TRUE(cart->SetDevOutput(device));
    ASSERT_NE(engine->devices->stream(device, error), nullptr) << error;
    recorder = std::make_unique<test::JackRecorder>(server->name(), 30, error);
    ASSERT_TRUE(recorder->ok()) << error;
    ASSERT_TRUE(recorder->connectFrom("Quillon", error)) << error;
    test::runRealTime(engine->clock, 200ms);  // new connections may cost the server a cycle
  }
  void TearDown() override {
    cart.reset();
    engine.reset();
    recorder.reset();
    if (server) server->stop();
    if (!path.empty()) std::filesystem::remove(path);
  }

  // RMS of each 10 ms window of the left channel recorded in [from, to),
  // -1 for a window near a late cycle.
  std::vector<double> windowLevels(long from, long to) const {
    const auto left = recorder->channel(0, from, to);
    const std::vector<long> glitches = recorder->glitches();
    const int window = recorder->sampleRate() / 100;
    std::vector<double> levels;
    for (std::size_t w = 0; (w + 1) * static_cast<std::size_t>(window) <= left.size(); ++w) {
      const long at = from + static_cast<long>(w) * window;
      const bool late = std::any_of(glitches.begin(), glitches.end(), [&](long g) {
        return g >= at - 2 * window && g <= at + 4 * window;
      });
      double sum = 0;
      for (int k = 0; k < window; ++k) sum += left[w * window + k] * left[w * window + k];
      levels.push_back(late ? -1 : std::sqrt(sum / window));
    }
    return levels;
  }

  std::unique_ptr<test::DeviceEngine> engine;  // made once the server runs
  std::unique_ptr<test::JackServer> server;
  std::unique_ptr<Cartouche> cart;
  std::unique_ptr<test::JackRecorder> recorder;
  int device = -1;
  std::string path;
};

TEST_F(LoopsAndFadesOnJack, ALoopingToneComesThroughEverySeamWithNoGapNorDip) {
  path = test::writeWav("jackloop", 44100, tone(1.4, 16384));
  ASSERT_FALSE(path.empty());
  ASSERT_TRUE(cart->SetTitle(path));
  cart->Setloop(1);
  const long from = recorder->position();
  cart->playClick();
  ASSERT_TRUE(cart->Playing());
  test::runRealTime(engine->clock, 4500ms);  // three seams
  EXPECT_TRUE(cart->Playing());
  const long to = recorder->position();
  cart->stopClick();
  // From the end of the device's fade-in at the start on: the tone's level
  // (0.5 / sqrt 2) in every window, seams included.
  const std::vector<double> levels = windowLevels(from, to);
  const auto first = std::find_if(levels.begin(), levels.end(), [](double l) { return l > 0.3; });
  ASSERT_NE(first, levels.end()) << "nothing reached the server";
  int checked = 0;
  for (auto it = first + 1; it != levels.end() && it < first + 420; ++it) {
    if (*it < 0) continue;
    EXPECT_NEAR(20 * std::log10(*it / (0.5 / std::sqrt(2.0))), 0.0, 0.5)
        << "window " << it - first << " after the start";
    ++checked;
  }
  EXPECT_GT(checked, 300);
}

TEST_F(LoopsAndFadesOnJack, AFadedToneRisesAndFallsAlongItsRamps) {
  path = test::writeWav("jackfade", 44100, tone(6.0, 16384));
  ASSERT_FALSE(path.empty());
  ASSERT_TRUE(cart->SetTitle(path));
  cart->SetFadein(1);
  cart->SetFadeout(1);
  const long from = recorder->position();
  cart->playClick();
  ASSERT_TRUE(test::runRealTime(engine->clock, 8s, [&] { return !cart->Playing(); }));
  test::runRealTime(engine->clock, 100ms);
  const std::vector<double> levels = windowLevels(from, recorder->position());
  const auto first = std::find_if(levels.begin(), levels.end(), [](double l) { return l > 0; });
  ASSERT_NE(first, levels.end());
  // Window w of the file: up by a third of the level a second, then down.
  const double full = 0.5 / std::sqrt(2.0);
  int checked = 0;
  for (int w = 5; w < 600; ++w) {
    const auto it = first + w;
    if (it >= levels.end()) break;
    if (*it < 0) continue;
    const double t = (w + 0.5) / 100;
    const double ramp = std::min({t / 3, (6.0 - t) / 3, 1.0});
    if (ramp < 0.01) continue;
    EXPECT_NEAR(20 * std::log10(*it / (full * ramp)), 0.0, 1.0) << "at " << t << " s";
    ++checked;
  }
  EXPECT_GT(checked, 400);
}

}  // namespace
}  // namespace quillon::cart
