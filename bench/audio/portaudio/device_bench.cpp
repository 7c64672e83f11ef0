// The player on a real device (the JACK dummy server's first pair of playback
// ports, `system:playback_1+2`, at 48 kHz, 256-frame periods; the null device
// when jackd cannot start): resident memory with 26 players, trigger latency,
// the longest stall of the UI thread that 26 playing voices survive, and the
// recovery from twenty deaths of the server. On the JACK device the blocks
// are converted on the conversion thread, as in the program; on the null
// device on the UI thread. Each runs once and reports its figures as counters.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "audio/portaudio/deviceplayer.h"
#include "realtime.h"
#include "support/jackserver.h"
#include "tone.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

// A "Rss...:" line of /proc/self/status, in kB.
long residentKb(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  }
  return 0;
}
// Taken before main, so before PortAudio, JACK or any player.
const long kAnonAtStartKb = residentKb("RssAnon");
const long kFileAtStartKb = residentKb("RssFile");
const long kShmemAtStartKb = residentKb("RssShmem");

struct Rig {
  ManualScheduler clock;
  std::unique_ptr<test::JackServer> server;
  std::unique_ptr<DeviceManager> devices;
  int device = 0;
  std::string label;
  // The null device too: paced by the steady clock, it shows what the
  // player itself survives when the JACK server's own timing slips under load.
  std::unique_ptr<DeviceManager> nullDevices;
};

Rig& rig() {
  static Rig r = [] {
    Rig rig;
    // As on a studio machine, where sound runs ahead of other work: a higher
    // priority for this process and its server (where allowed).
    setpriority(PRIO_PROCESS, 0, -20);
    const std::string name = "quillon-bench-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);  // before the first JACK client
    rig.server = std::make_unique<test::JackServer>(name);
    std::string error;
    DeviceManager::Options options;
    options.convertOnThread = true;  // as in the program
    if (rig.server->start(error)) {
      rig.label = "JACK dummy 48 kHz / 256";
    } else {
      options.useSystemDevices = false;
      rig.label = "null device (jackd: " + error + ")";
    }
    rig.devices = std::make_unique<DeviceManager>(rig.clock, options);
    DeviceManager::Options nullOnly;
    nullOnly.useSystemDevices = false;
    rig.nullDevices = std::make_unique<DeviceManager>(rig.clock, nullOnly);
    for (int d = 0; d < rig.devices->count(); ++d) {
      if (rig.devices->device(d)->name == "system:playback_1+2") rig.device = d;
    }
    return rig;
  }();
  return r;
}

// 26 players on the device, each fed 100 ms blocks of a 44.1 kHz file at
// every request (resampled to the device's rate), as carts feed them.
struct Carts : PlayerEvents {
  Carts(Rig& r, bool onNullDevice, std::function<void()> beforeFeed = {})
      : m_beforeFeed(std::move(beforeFeed)) {
    for (int i = 0; i < 26; ++i) {
      DeviceManager& devices = onNullDevice ? *r.nullDevices : *r.devices;
      players.push_back(std::make_unique<DevicePlayer>(r.clock, devices));
      players.back()->SelectDevice(onNullDevice ? 0 : r.device);
      players.back()->SetFormat({44100, 2});
      players.back()->setEventHandler(this);
      players.back()->OpenOutput();
      next.push_back(0);
      current = i;
      feed();
      feed();
    }
    current = -1;
  }
  // Below the player's target, counted in the file's frames fed and not yet
  // played (blocks still being converted count), as the player counts.
  bool low(std::size_t i) const {
    return next[i] - players[i]->PlayedSamples() < msToFrames(DevicePlayer::kQueueTargetMs, 44100);
  }
  void RequestOnLoadArray() override {
    bool anyLow = false;
    for (std::size_t i = 0; i < players.size(); ++i) anyLow = anyLow || low(i);
    if (anyLow && m_beforeFeed) m_beforeFeed();
    // Events carry no player: feed every player that is below its target.
    for (std::size_t i = 0; i < players.size(); ++i) {
      if (low(i)) {
        current = static_cast<int>(i);
        feed();
      }
    }
  }
  void feed() {
    auto& p = *players[static_cast<std::size_t>(current)];
    p.QueueBlock(
        test::sineBlock(44100, 2, 440, 3000, next[static_cast<std::size_t>(current)], 4410));
    next[static_cast<std::size_t>(current)] += 4410;
  }
  void EndPlay() override {}
  void Timer(FrameCount, int, int) override {}
  void DeviceFailed(const std::string&) override {}
  std::int64_t underruns() const {
    std::int64_t n = 0;
    for (auto& p : players) n += p->UnderrunCount();
    return n;
  }

  std::vector<std::unique_ptr<DevicePlayer>> players;
  std::vector<long> next;
  int current = -1;
  std::function<void()> m_beforeFeed;
};

void BM_ResidentMemory26Players(benchmark::State& state) {
  Rig& r = rig();
  for (auto _ : state) {
    Carts carts(r, false);
    test::runRealTime(r.clock, 1s);
    // Private memory (heap, stacks, libraries' data) apart from the audio
    // server's shared memory, which the server owns and every client maps.
    state.counters["private_MB"] = (residentKb("RssAnon") - kAnonAtStartKb) / 1024.0;
    state.counters["files_MB"] = (residentKb("RssFile") - kFileAtStartKb) / 1024.0;
    state.counters["server_shm_MB"] = (residentKb("RssShmem") - kShmemAtStartKb) / 1024.0;
    state.counters["underruns"] = static_cast<double>(carts.underruns());
  }
  state.SetLabel(r.label);
}
BENCHMARK(BM_ResidentMemory26Players)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TriggerLatency(benchmark::State& state) {
  Rig& r = rig();
  DevicePlayer player(r.clock, *r.devices);
  player.SelectDevice(r.device);
  player.SetFormat({48000, 2});
  std::vector<double> ms;
  for (auto _ : state) {
    for (int trial = 0; trial < 200; ++trial) {
      player.OpenOutput();
      test::runRealTime(r.clock, 15ms);  // an idle open voice
      const std::int64_t before = player.firstFrameTime();
      auto block = test::sineBlock(48000, 2, 440, 3000, 0, 4800);
      const std::int64_t queuedAt = steadyNowNs();
      player.QueueBlock(std::move(block));
      while (player.firstFrameTime() == before && steadyNowNs() - queuedAt < 1000000000) {
        std::this_thread::yield();
      }
      ms.push_back(static_cast<double>(player.firstFrameTime() - queuedAt) / 1e6);
      player.CloseOutput();
    }
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["p90_ms"] = ms[ms.size() * 9 / 10];
  state.counters["worst_ms"] = ms.back();
  state.SetLabel(r.label);
}
BENCHMARK(BM_TriggerLatency)->Iterations(1)->Unit(benchmark::kMillisecond);

// The UI thread stalls inside a request handler, before it feeds: the player
// that asked is at its lowest, the worst moment. Longer and longer stalls
// until one causes an underrun.
void BM_UiStallSurvived26Voices(benchmark::State& state) {
  Rig& r = rig();
  const bool onNullDevice = state.range(0) == 1;
  int survived = 0;
  for (auto _ : state) {
    for (int stall = 100; stall <= 400; stall += 10) {
      bool stallNow = false;
      Carts carts(r, onNullDevice, [&] {
        if (stallNow) {
          stallNow = false;
          std::this_thread::sleep_for(std::chrono::milliseconds(stall));
        }
      });
      test::runRealTime(r.clock, 600ms);
      stallNow = true;
      test::runRealTime(r.clock, 600ms);
      if (carts.underruns() > 0) break;
      survived = stall;
    }
  }
  state.counters["stall_survived_ms"] = survived;
  state.SetLabel(onNullDevice ? "null device" : r.label);
}
// Argument 0: the device of the rig; 1: the null device.
BENCHMARK(BM_UiStallSurvived26Voices)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

int entries(const char* folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

// The server killed (SIGKILL) under a playing player and started again,
// twenty times: from the server's return (it takes clients again) to the
// first frame of the next fire mixed on it, the list read again in between
// as the window does; and what the process holds before and after.
void BM_RecoveryFromServerDeath(benchmark::State& state) {
  Rig& r = rig();
  if (r.label.rfind("JACK", 0) != 0) {
    state.SkipWithError("needs the JACK server");
    return;
  }
  DevicePlayer player(r.clock, *r.devices);
  std::vector<double> ms;
  long anonBefore = 0;
  int fdsBefore = 0, threadsBefore = 0;
  for (auto _ : state) {
    for (int cycle = 0; cycle < 20; ++cycle) {
      player.SelectDevice(r.device);
      player.SetFormat({48000, 2});
      if (player.OpenOutput() != 0) {
        state.SkipWithError(("no output: " + player.lastError()).c_str());
        return;
      }
      player.QueueBlock(test::sineBlock(48000, 2, 440, 3000, 0, 4800));
      test::runRealTime(r.clock, 50ms);
      if (cycle == 1) {  // after one whole cycle: every library's one-time set-up done
        anonBefore = residentKb("RssAnon");
        fdsBefore = entries("/proc/self/fd");
        threadsBefore = entries("/proc/self/task");
      }
      r.server->kill();
      test::runRealTime(r.clock, 3s, [&] { return player.OutputStatus() < 0; });
      std::string error;
      if (!r.server->start(error)) {
        state.SkipWithError(error.c_str());
        return;
      }
      const std::int64_t back = steadyNowNs();
      player.RescanDevices();
      player.SelectDevice(r.device);
      player.SetFormat({48000, 2});
      if (player.OpenOutput() == 0) {
        const std::int64_t before = player.firstFrameTime();
        player.QueueBlock(test::sineBlock(48000, 2, 440, 3000, 0, 4800));
        test::runRealTime(r.clock, 2s, [&] { return player.firstFrameTime() != before; });
        if (player.firstFrameTime() != before) {
          ms.push_back(static_cast<double>(player.firstFrameTime() - back) / 1e6);
        }
      }
      player.CloseOutput();
    }
  }
  test::runRealTime(r.clock, 1s, [&] { return r.devices->streamsClosing() == 0; });
  std::sort(ms.begin(), ms.end());
  state.counters["returns_heard"] = static_cast<double>(ms.size());
  if (!ms.empty()) {
    state.counters["recovery_median_ms"] = ms[ms.size() / 2];
    state.counters["recovery_worst_ms"] = ms.back();
  }
  state.counters["private_MB_growth"] = (residentKb("RssAnon") - anonBefore) / 1024.0;
  state.counters["fds_growth"] = entries("/proc/self/fd") - fdsBefore;
  state.counters["threads_growth"] = entries("/proc/self/task") - threadsBefore;
  state.SetLabel(r.label);
}
BENCHMARK(BM_RecoveryFromServerDeath)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::audio
