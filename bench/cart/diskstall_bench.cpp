// 26 carts playing on the program's engine parts (FFmpeg files opened and
// read ahead on the read pool, the null device paced by its own clock
// thread, blocks converted on the device manager's thread, Qt's event loop)
// while the reads of one cart's file hang for 5 s, as on a stalled network
// share. Figures: the longest time the UI thread did not run its event loop
// (a 1 ms timer's longest gap), with no file hanging and with one, the
// underruns of the other 25 carts, how long Stop on the hanging cart took,
// and what became of that cart; and a fire's time to its first frame mixed
// (the open and first blocks come from a worker now).
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "audio/backgroundinformation.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/portaudio/deviceplayer.h"
#include "audio/qtscheduler.h"
#include "audio/readahead.h"
#include "audiofixtures.h"
#include "cart/cartouche.h"
#include "support/readgate.h"

namespace quillon::bench {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kCarts = 26;

class StallBenchEngine : public audio::Engine {
 public:
  StallBenchEngine() : m_devices(m_scheduler, options()) {}

  std::unique_ptr<audio::Reader> createReader() override {
    return std::make_unique<audio::ReadAheadReader>(
        [this] { return std::make_unique<test::GatedReader>(m_media.createReader(), gate); },
        m_pool, m_scheduler);
  }
  std::unique_ptr<audio::Information> createInformation() override {
    return std::make_unique<audio::BackgroundInformation>(
        [this] {
          return std::make_unique<test::GatedInformation>(m_media.createInformation(), gate);
        },
        m_pool, m_scheduler);
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    auto player = std::make_unique<audio::DevicePlayer>(m_scheduler, m_devices);
    players.push_back(player.get());
    return player;
  }
  audio::UiScheduler& scheduler() override { return m_scheduler; }

  test::ReadGate gate;  // outlives the pool's workers
  std::vector<audio::DevicePlayer*> players;

 private:
  static audio::DeviceManager::Options options() {
    audio::DeviceManager::Options o;
    o.useSystemDevices = false;
    o.openDefaultAtStart = true;
    o.convertOnThread = true;
    return o;
  }
  audio::QtScheduler m_scheduler;
  audio::DeviceManager m_devices;
  audio::FfmpegMedia m_media;
  audio::ReadPool m_pool;
};

// The UI thread's longest absence from its event loop, seen by a 1 ms timer.
class LoopWatch {
 public:
  LoopWatch() {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(1);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      const auto now = Clock::now();
      if (m_last != Clock::time_point{}) m_longest = std::max(m_longest, now - m_last);
      m_last = now;
    });
    m_timer.start();
  }
  // The longest gap since the last call, less the timer's own period.
  double takeLongestMs() {
    const double ms = std::chrono::duration<double, std::milli>(m_longest).count() - 1.0;
    m_longest = {};
    return ms;
  }

 private:
  QTimer m_timer;
  Clock::time_point m_last{};
  Clock::duration m_longest{};
};

void runFor(std::chrono::milliseconds ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

std::int64_t underrunsOfOthers(const StallBenchEngine& engine) {
  std::int64_t n = 0;
  for (std::size_t i = 1; i < engine.players.size(); ++i) n += engine.players[i]->UnderrunCount();
  return n;
}

int run() {
  const std::string hanging = test::fixturePath(
      {.name = "stall-a.wav", .rate = 48000, .seconds = 30, .encoder = "-c:a pcm_s16le"});
  const std::string bed = test::fixturePath({.name = "stall-bed.mp3",
                                             .rate = 44100,
                                             .seconds = 30,
                                             .encoder = "-c:a libmp3lame -b:a 192k"});
  if (hanging.empty() || bed.empty()) {
    std::fprintf(stderr, "cannot make the audio files\n");
    return 1;
  }

  StallBenchEngine engine;
  std::vector<std::unique_ptr<cart::Cartouche>> carts;
  for (int i = 0; i < kCarts; ++i) {
    carts.push_back(std::make_unique<cart::Cartouche>(engine));
    carts.back()->SetTitle(i == 0 ? hanging : bed);
  }
  runFor(500ms);
  for (auto& c : carts) c->playClick();
  runFor(1500ms);
  int playing = 0;
  for (auto& c : carts) playing += c->Playing() ? 1 : 0;

  LoopWatch watch;
  runFor(5000ms);
  const double quietStall = watch.takeLongestMs();
  const std::int64_t quietUnderruns = underrunsOfOthers(engine);

  // Cart A's file stops answering for 5 s.
  engine.gate.close(hanging);
  runFor(5000ms);
  const bool aStoppedByItself = !carts[0]->Playing();
  const std::string reason = carts[0]->look().missingReason;
  engine.gate.open();
  runFor(1000ms);
  const double hangStall = watch.takeLongestMs();
  const std::int64_t hangUnderruns = underrunsOfOthers(engine) - quietUnderruns;

  // Stop on a cart whose read hangs: fire A again, hang its file, stop it.
  carts[0]->playClick();
  runFor(500ms);
  engine.gate.close(hanging);
  runFor(600ms);  // its read-ahead reaches the gate
  const auto before = Clock::now();
  carts[0]->stopClick();
  const double stopMs = std::chrono::duration<double, std::milli>(Clock::now() - before).count();
  runFor(500ms);
  engine.gate.open();
  runFor(500ms);
  const double stopStall = watch.takeLongestMs();

  // Fires of cart B, a healthy file, while the other 25 play: the click to
  // the first frame mixed by the null device (periods of 5.3 ms).
  std::vector<double> fires;
  for (int i = 0; i < 20; ++i) {
    carts[1]->stopClick();
    runFor(100ms);
    const std::int64_t from = Clock::now().time_since_epoch().count();
    carts[1]->playClick();
    const auto deadline = Clock::now() + 1s;
    while (engine.players[1]->firstFrameTime() <= from && Clock::now() < deadline) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    fires.push_back(static_cast<double>(engine.players[1]->firstFrameTime() - from) / 1e6);
  }
  std::sort(fires.begin(), fires.end());

  std::printf("carts playing at the start                      %d of %d\n", playing, kCarts);
  std::printf("longest UI-thread stall, no file hanging       %.1f ms\n", quietStall);
  std::printf("longest UI-thread stall, cart A hanging 5 s    %.1f ms\n", hangStall);
  std::printf("underruns of the other 25, no file hanging     %lld\n",
              static_cast<long long>(quietUnderruns));
  std::printf("underruns of the other 25, cart A hanging 5 s  %lld\n",
              static_cast<long long>(hangUnderruns));
  std::printf("cart A stopped by itself within the 5 s        %s (\"%s\")\n",
              aStoppedByItself ? "yes" : "no", reason.c_str());
  std::printf(
      "Stop on cart A with its read hanging           %.3f ms (longest stall around it %.1f ms)\n",
      stopMs, stopStall);
  std::printf("click to first frame, cart B (20 fires)          median %.1f ms, worst %.1f ms\n",
              fires[fires.size() / 2], fires.back());
  return 0;
}

}  // namespace
}  // namespace quillon::bench

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  return quillon::bench::run();
}
