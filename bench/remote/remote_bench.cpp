// Remote trigger latency on a JACK dummy server (48 kHz, 256-frame periods):
// from the OSC message sent, or the MIDI note written by a JACK client, to
// the first frame of the started player mixed in the device's callback.
// 20 presses each; median and worst as counters. The cart's start is stood
// in for by what it does on the device (open the output, queue a decoded
// block): the file's decoding is not in these figures.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <lo/lo.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <thread>

#include "audio/portaudio/devicemanager.h"
#include "audio/portaudio/deviceplayer.h"
#include "audio/qtscheduler.h"
#include "jackmidisender.h"
#include "remote/remotecontrol.h"
#include "support/jackserver.h"

namespace quillon::remote {
namespace {

constexpr int kPresses = 20;

// A cart's start on the device: what a fire does to a stopped cart.
struct StartPlayer : RemoteCommands {
  explicit StartPlayer(audio::DevicePlayer& p) : player(p) {}
  void fire(const std::string&, RemoteSource) override {
    player.OpenOutput();
    // An output reuses a voice, which keeps its last first-frame time.
    firstBefore = player.firstFrameTime();
    std::vector<std::int16_t> samples(2 * 4800);
    for (std::size_t i = 0; i < samples.size(); i += 2) {
      samples[i] = samples[i + 1] = static_cast<std::int16_t>(3000 * std::sin(i * 0.03));
    }
    player.QueueBlock(audio::AudioBlock{std::move(samples), 2});
    ++fires;
  }
  void stop(const std::string&) override {}
  void panic() override {}
  audio::DevicePlayer& player;
  int fires = 0;
  std::int64_t firstBefore = 0;
};

struct Rig {
  audio::QtScheduler scheduler;
  std::unique_ptr<test::JackServer> server;
  std::unique_ptr<audio::DeviceManager> devices;
  std::string error;
};

Rig& rig() {
  static Rig r;
  static const bool started = [] {
    setpriority(PRIO_PROCESS, 0, -20);
    const std::string name = "quillon-remote-bench-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);  // before PortAudio and RtMidi
    r.server = std::make_unique<test::JackServer>(name);
    if (!r.server->start(r.error)) return false;
    r.devices =
        std::make_unique<audio::DeviceManager>(r.scheduler, audio::DeviceManager::Options{});
    return true;
  }();
  (void)started;
  return r;
}

int systemDevice(audio::DevicePlayer& player) {
  for (int d = 0; d < player.DeviceCount(); ++d) {
    player.SelectDevice(d);
    if (player.DeviceName() == "system:playback_1+2") return d;
  }
  return -1;
}

// Runs Qt's loop, without sleeping, until `done` or a second has passed.
template <typename Done>
bool pump(Done done) {
  const std::int64_t end = audio::steadyNowNs() + 1000000000;
  while (!done()) {
    QCoreApplication::processEvents();
    if (audio::steadyNowNs() > end) return false;
  }
  return true;
}

void report(benchmark::State& state, std::vector<double> ms) {
  if (ms.empty()) {
    state.SkipWithError("no press measured");
    return;
  }
  std::sort(ms.begin(), ms.end());
  state.counters["median_ms"] = ms[ms.size() / 2];
  state.counters["worst_ms"] = ms.back();
  state.counters["presses"] = static_cast<double>(ms.size());
  state.SetLabel("JACK dummy 48 kHz / 256 (5.33 ms period)");
}

// The device's stream opens on first use and stays open, as the program's
// default device does from its start: not part of a press.
void readyOnSystemDevice(audio::DevicePlayer& player) {
  player.SelectDevice(systemDevice(player));
  player.SetFormat({48000, 2});
  player.OpenOutput();
  player.CloseOutput();
}

void BM_OscToFirstFrame(benchmark::State& state) {
  Rig& r = rig();
  if (!r.devices) return state.SkipWithError(("jackd cannot start: " + r.error).c_str());
  audio::DevicePlayer player(r.scheduler, *r.devices);
  readyOnSystemDevice(player);
  StartPlayer start(player);
  settings::RemoteSettings settings;
  settings.midi.enabled = false;
  settings.osc.enabled = true;
  RemoteControl remote(start, settings, 0);
  if (remote.osc() == nullptr) return state.SkipWithError(remote.oscError().c_str());
  lo_address to = lo_address_new("127.0.0.1", std::to_string(remote.osc()->port()).c_str());
  std::vector<double> ms;
  for (auto _ : state) {
    for (int i = 0; i < kPresses; ++i) {
      player.CloseOutput();
      pump([t = audio::steadyNowNs()] { return audio::steadyNowNs() - t > 20000000; });
      const int fires = start.fires;
      const std::int64_t sentAt = audio::steadyNowNs();
      lo_send(to, "/quillon/fire", "s", "A");
      if (!pump(
              [&] { return start.fires > fires && player.firstFrameTime() != start.firstBefore; }))
        continue;
      ms.push_back(static_cast<double>(player.firstFrameTime() - sentAt) / 1e6);
    }
  }
  lo_address_free(to);
  player.CloseOutput();
  report(state, ms);
}
BENCHMARK(BM_OscToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MidiToFirstFrame(benchmark::State& state) {
  Rig& r = rig();
  if (!r.devices) return state.SkipWithError(("jackd cannot start: " + r.error).c_str());
  audio::DevicePlayer player(r.scheduler, *r.devices);
  readyOnSystemDevice(player);
  StartPlayer start(player);
  settings::RemoteSettings settings;  // MIDI on
  RemoteControl remote(start, settings);
  pump([&] { return remote.midi()->state() != MidiInput::State::Opening; });
  if (remote.midi()->state() != MidiInput::State::Open) {
    return state.SkipWithError(remote.midi()->description().c_str());
  }
  std::string error;
  test::JackMidiSender sender(r.server->name(), error);
  if (!sender.ok() || !sender.connectTo("Quillon", error))
    return state.SkipWithError(error.c_str());
  sender.prepare(std::vector<test::JackMidiSender::Message>(kPresses, {0x90, 36, 100}));
  std::vector<double> ms;
  for (auto _ : state) {
    player.CloseOutput();
    for (int i = 0; i < kPresses; ++i) {
      pump([t = audio::steadyNowNs()] { return audio::steadyNowNs() - t > 20000000; });
      const int fires = start.fires;
      sender.release(i + 1);
      if (!pump(
              [&] { return start.fires > fires && player.firstFrameTime() != start.firstBefore; }))
        continue;
      ms.push_back(static_cast<double>(player.firstFrameTime() - sender.sentAt(i)) / 1e6);
      player.CloseOutput();
    }
  }
  report(state, ms);
}
BENCHMARK(BM_MidiToFirstFrame)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quillon::remote

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
