// The whole program on a JACK dummy server (the real window offscreen, the
// program's engine on PortAudio's `system` device):
// - a letter's key press to its cart's first frame at the server, the
//   100 ms GetKeys poll included, and our part beyond the poll (from the
//   tick that hands the letter on);
// - the same with instant keys ([Keys] Instant=1): the letter fires at its
//   key-press event, no poll in the way;
// - a click on the play button to the first frame (no poll in the way);
// - the UI thread's CPU with 26 carts playing.
// Each runs once and reports its figures as counters (milliseconds).
#include <benchmark/benchmark.h>
#include <time.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "audio/jack/jackbackend.h"
#include "audiofixtures.h"
#include "programrig.h"
#include "support/cartoucheurprobe.h"

namespace quillon::bench {
namespace {

constexpr int kTrials = 30;
constexpr const char* kLetter = "A";

std::int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The time of every GetKeys tick: the timer's event, seen before the window
// handles it.
class TickWatch : public QObject {
 public:
  explicit TickWatch(const QTimer& timer) : m_timer(timer) { qApp->installEventFilter(this); }
  ~TickWatch() override { qApp->removeEventFilter(this); }
  // The first tick at or after `from`; 0 when none.
  std::int64_t firstTickFrom(std::int64_t from) const {
    for (std::int64_t t : m_ticks) {
      if (t >= from) return t;
    }
    return 0;
  }
  void clear() { m_ticks.clear(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &m_timer && event->type() == QEvent::Timer) m_ticks.push_back(nowNs());
    return false;
  }

 private:
  const QTimer& m_timer;
  std::vector<std::int64_t> m_ticks;
};

// Made at first use, ended in main while the application still exists.
std::unique_ptr<ProgramRig> g_rig;

ProgramRig& rig() {
  if (!g_rig) g_rig = std::make_unique<ProgramRig>();
  return *g_rig;
}

// The window the key and click series use: the first, until the instant
// keys' series takes its own.
app::Cartoucheur* g_keysWindow = nullptr;

// A 48 kHz stereo sweep on cart A of `w` (default: the rig's window), its
// fade-in off, its stream open and the probe listening to the program.
bool prepare(benchmark::State& state, app::Cartoucheur* w = nullptr) {
  ProgramRig& r = rig();
  if (!r.error().empty()) {
    state.SkipWithError(r.error().c_str());
    return false;
  }
  if (w == nullptr) w = &r.window();
  static std::vector<app::Cartoucheur*> ready;
  g_keysWindow = w;
  if (std::find(ready.begin(), ready.end(), w) != ready.end()) return true;
  const std::string path =
      test::fixturePath({"latency-48k.wav", 48000, 2, 10, "-c:a pcm_s16le", true});
  cart::Cartouche& cart = w->cart(0)->cart();
  if (path.empty() || !cart.SetTitle(path)) {
    state.SkipWithError("cannot make or bind the test file");
    return false;
  }
  cart.SetFadein(0);
  cart.ListenMusic();  // opens the device's stream
  runEventLoopFor(300);
  cart.stopClick();
  std::string error;
  if (ready.empty() && !r.probe().connectFrom(audio::kJackClientName, error)) {
    state.SkipWithError(error.c_str());
    return false;
  }
  runEventLoopFor(200);
  ready.push_back(w);
  return true;
}

// Runs the loop until the probe hears the cart, 1 s at most; the time or 0.
std::int64_t waitForSound() {
  const std::int64_t limit = nowNs() + 1'000'000'000;
  QEventLoop loop;
  QTimer poll;
  poll.setInterval(1);
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (rig().probe().heard() || nowNs() > limit) loop.quit();
  });
  poll.start();
  loop.exec();
  return rig().probe().heard() ? rig().probe().heardAtNs() : 0;
}

// Stops cart A and lets its fade-out and the silence after it pass.
void silence(std::mt19937& random) {
  (g_keysWindow ? g_keysWindow : &rig().window())->cart(0)->cart().stopClick();
  runEventLoopFor(150 + std::uniform_int_distribution<int>(0, 100)(random));
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void report(benchmark::State& state, const char* prefix, const std::vector<double>& ms) {
  if (ms.empty()) return;
  state.counters[std::string(prefix) + "median_ms"] = median(ms);
  state.counters[std::string(prefix) + "worst_ms"] = *std::max_element(ms.begin(), ms.end());
  state.counters[std::string(prefix) + "best_ms"] = *std::min_element(ms.begin(), ms.end());
}

// The counters every trial series shows, and silence after it.
void finish(benchmark::State& state, const char* trials, std::size_t count, int missed,
            std::mt19937& random) {
  state.counters["period_ms"] = rig().periodMs();
  state.counters[trials] = static_cast<double>(count);
  state.counters["missed"] = missed;
  state.SetLabel(rig().label());
  silence(random);
}

// A press stamped like a real keyboard's events, and its release: a press
// stamped with the instant of the last release would count as the
// keyboard's repeat.
void pressAndRelease(app::Cartoucheur& w, std::int64_t pressedNs) {
  const auto stamp = static_cast<quint64>(pressedNs / 1'000'000);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  press.setTimestamp(stamp);
  QCoreApplication::sendEvent(w.windowHandle(), &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, "a");
  release.setTimestamp(stamp + 60);
  QCoreApplication::sendEvent(w.windowHandle(), &release);
}

void KeyToFirstFrame(benchmark::State& state) {
  if (!prepare(state)) return;
  ProgramRig& r = rig();
  app::Cartoucheur& w = r.window();
  TickWatch ticks(app::CartoucheurProbe::getKeysTimer(w));
  std::mt19937 random(16);
  std::vector<double> whole, ours;
  int missed = 0;
  for (auto _ : state) {
    for (int trial = 0; trial < kTrials; ++trial) {
      silence(random);
      ticks.clear();
      r.probe().arm();
      const std::int64_t pressed = nowNs();
      pressAndRelease(w, pressed);
      const std::int64_t heard = waitForSound();
      const std::int64_t tick = ticks.firstTickFrom(pressed);
      if (heard == 0 || tick == 0 || !w.cart(0)->cart().Playing()) {
        ++missed;
        continue;
      }
      whole.push_back((heard - pressed) / 1e6);
      ours.push_back((heard - tick) / 1e6);
    }
  }
  report(state, "whole_", whole);
  report(state, "ours_", ours);
  finish(state, "presses", whole.size(), missed, random);
}

// With instant keys: the press to the first frame, with no poll in the way
// (the target: as a click, a device period plus 3 ms at the median).
void InstantKeyToFirstFrame(benchmark::State& state) {
  ProgramRig& r = rig();
  app::Cartoucheur* w = r.error().empty() ? r.instantKeysWindow() : nullptr;
  if (w == nullptr && r.error().empty()) {
    state.SkipWithError("the instant keys' window is not ready");
    return;
  }
  if (!prepare(state, w)) return;
  std::mt19937 random(18);
  std::vector<double> ms;
  int missed = 0;
  for (auto _ : state) {
    for (int trial = 0; trial < kTrials; ++trial) {
      silence(random);
      r.probe().arm();
      const std::int64_t pressed = nowNs();
      pressAndRelease(*w, pressed);
      const std::int64_t heard = waitForSound();
      if (heard == 0 || !w->cart(0)->cart().Playing()) {
        ++missed;
        continue;
      }
      ms.push_back((heard - pressed) / 1e6);
    }
  }
  report(state, "", ms);
  state.counters["target_median_ms"] = r.periodMs() + 3;
  finish(state, "presses", ms.size(), missed, random);
}

void ClickToFirstFrame(benchmark::State& state) {
  if (!prepare(state)) return;
  ProgramRig& r = rig();
  QWidget* play = r.window().cart(0)->findChild<QWidget*>("Image3");
  if (play == nullptr) {
    state.SkipWithError("no play button");
    return;
  }
  std::mt19937 random(17);
  std::vector<double> ms;
  int missed = 0;
  for (auto _ : state) {
    for (int trial = 0; trial < kTrials; ++trial) {
      silence(random);
      r.probe().arm();
      const QPointF centre = QRectF(play->rect()).center();
      const QPointF global = play->mapToGlobal(centre);
      QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QCoreApplication::sendEvent(play, &press);
      QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                          Qt::NoModifier);
      const std::int64_t clicked = nowNs();  // the click is the release
      QCoreApplication::sendEvent(play, &release);
      const std::int64_t heard = waitForSound();
      if (heard == 0) {
        ++missed;
        continue;
      }
      ms.push_back((heard - clicked) / 1e6);
    }
  }
  report(state, "", ms);
  finish(state, "clicks", ms.size(), missed, random);
}

std::int64_t cpuNs(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec;
}

// 26 carts looping files of every type at 44.1 kHz (so every block is
// resampled on the UI thread), the window showing them.
void UiThreadWith26Carts(benchmark::State& state) {
  if (!prepare(state)) return;
  ProgramRig& r = rig();
  app::Cartoucheur& w = r.window();
  static const char* const kTypes[] = {"mp3", "wav", "ogg", "wma"};
  static const char* const kEncoders[] = {"-c:a libmp3lame -b:a 192k", "-c:a pcm_s16le",
                                          "-c:a libvorbis -q:a 5", "-c:a wmav2 -b:a 128k"};
  for (int k = 0; k < w.cartCount(); ++k) {
    const std::string path = test::fixturePath(
        {std::string("busy.") + kTypes[k % 4], 44100, 2, 30, kEncoders[k % 4], k % 4 != 3});
    cart::Cartouche& cart = w.cart(k)->cart();
    if (path.empty() || !cart.SetTitle(path)) {
      state.SkipWithError("cannot make or bind the files");
      return;
    }
    cart.Setloop(1);
    cart.ListenMusic();
  }
  runEventLoopFor(1000);  // past the first blocks
  int playing = 0;
  for (auto _ : state) {
    const std::int64_t cpu0 = cpuNs(CLOCK_THREAD_CPUTIME_ID);
    const std::int64_t all0 = cpuNs(CLOCK_PROCESS_CPUTIME_ID);
    const std::int64_t wall0 = nowNs();
    runEventLoopFor(static_cast<int>(state.range(0)));
    const double cpu = static_cast<double>(cpuNs(CLOCK_THREAD_CPUTIME_ID) - cpu0);
    const double all = static_cast<double>(cpuNs(CLOCK_PROCESS_CPUTIME_ID) - all0);
    const double wall = static_cast<double>(nowNs() - wall0);
    state.counters["ui_thread_cpu_percent"] = 100.0 * cpu / wall;
    // Every thread of the program: the read-ahead, the device's callback.
    state.counters["process_cpu_percent"] = 100.0 * all / wall;
    state.SetIterationTime(wall / 1e9);
  }
  for (int k = 0; k < w.cartCount(); ++k) {
    playing += w.cart(k)->cart().Playing();
    w.cart(k)->cart().stopClick();
  }
  state.counters["carts_playing"] = playing;
  state.SetLabel(r.label());
}

BENCHMARK(KeyToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(ClickToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(UiThreadWith26Carts)
    ->Arg(10000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// Last: its window takes the keyboard from the first one.
BENCHMARK(InstantKeyToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::bench

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  quillon::bench::g_rig.reset();
  return 0;
}
