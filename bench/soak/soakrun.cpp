#include "soakrun.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/manualscheduler.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/readahead.h"
#include "audiofixtures.h"
#include "cart/cartouche.h"
#include "support/handpacednull.h"
#include "watchedplayer.h"

namespace quillon::soak {
namespace {

constexpr int kCarts = 26;
constexpr int kRate = 48000;
constexpr int kPeriod = 256;
// A playing cart whose shown position stands still this long is stuck.
constexpr std::int64_t kStuckNs = 2'000'000'000;
// The script keeps at least this many carts playing.
constexpr int kBusyCarts = 18;

// One of four types at one of four rates, 4 to 12 seconds long.
test::AudioFixture soakFile(int i) {
  static const char* const kTypes[] = {"mp3", "wav", "ogg", "wma"};
  static const char* const kEncoders[] = {"-c:a libmp3lame -b:a 128k", "-c:a pcm_s16le",
                                          "-c:a libvorbis -q:a 4", "-c:a wmav2 -b:a 128k"};
  static const int kRates[] = {44100, 48000, 22050, 32000};
  test::AudioFixture f;
  f.rate = kRates[(i / 4) % 4];
  f.channels = 1 + (i % 3 == 0 ? 0 : 1);
  f.seconds = 4 + (i * 5) % 9;
  f.encoder = kEncoders[i % 4];
  f.name = "soak-" + std::to_string(i) + "." + kTypes[i % 4];
  return f;
}

// Resident size, or the peak, from /proc/self/status, in kB.
long statusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::stol(line.substr(key.size()));
  }
  return 0;
}

std::string clockText(std::int64_t ns) {
  const std::int64_t s = ns / 1'000'000'000;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  return text;
}

class SoakEngine : public audio::Engine {
 public:
  SoakEngine() : devices(clock, test::handPacedNullDevice(kRate, kPeriod)) {}

  // Read ahead as in the program: the soak's seeks, pauses and restarts on
  // 26 carts stress the read-ahead thread far faster than real time.
  std::unique_ptr<audio::Reader> createReader() override {
    return std::make_unique<audio::ReadAheadReader>([this] { return media.createReader(); },
                                                    readPool, clock);
  }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    auto player = std::make_unique<WatchedPlayer>(clock, devices);
    players.push_back(player.get());
    return player;
  }
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  audio::DeviceManager devices;
  audio::FfmpegMedia media;
  audio::ReadPool readPool;
  std::vector<WatchedPlayer*> players;  // in the order the carts made them
};

// What the script does to one cart.
void act(cart::Cartouche& cart, std::mt19937& random, std::int64_t& starts) {
  const int roll = std::uniform_int_distribution<int>(0, 99)(random);
  const bool wasPlaying = cart.Playing() && !cart.Paused();
  if (roll < 25) {
    cart.KeyPressRacc(cart.Letter());  // the letter: start or stop
  } else if (roll < 40) {
    cart.playClick();  // from the beginning
  } else if (roll < 55) {
    cart.pauseClick();
  } else if (roll < 70) {
    // A jump on the position bar: press, move, release somewhere on it.
    const int x = std::uniform_int_distribution<int>(0, 1300)(random);
    if (cart.thumbPress(x)) {
      cart.thumbMove(std::uniform_int_distribution<int>(0, 1300)(random), 0);
      cart.thumbRelease();
    }
  } else if (roll < 80) {
    if (roll % 2 == 0) {
      cart.fadeInLabelClick();
    } else {
      cart.fadeOutLabelClick();
    }
  } else if (roll < 85) {
    cart.loopLabelClick();
  } else if (roll < 95) {
    cart.SetVolume(std::uniform_int_distribution<int>(0, 100)(random));
  } else {
    cart.stopClick();
  }
  if (cart.Playing() && !cart.Paused() && (!wasPlaying || roll < 40)) ++starts;
}

}  // namespace

bool SoakReport::passed() const {
  return setupError.empty() && underruns == 0 && stuck.empty() && timerChecks > 0 &&
         lowestDriftMs >= -allowedDriftMs && highestDriftMs <= allowedDriftMs;
}

SoakReport runSoak(const SoakSettings& settings) {
  SoakReport report;
  const auto wallStart = std::chrono::steady_clock::now();
  // One device period either way (a Timer falls between two renders), plus
  // the 4 ms fade-out of the play before, which precedes the first frame.
  report.allowedDriftMs = 2 * 1000.0 * kPeriod / kRate + audio::Mixer::kRampMs + 1;

  SoakEngine engine;
  std::vector<std::unique_ptr<cart::Cartouche>> carts;
  for (int i = 0; i < kCarts; ++i) {
    carts.push_back(std::make_unique<cart::Cartouche>(engine));
    carts.back()->SetMyLetter(std::string(1, static_cast<char>('A' + i)));
    engine.players.at(static_cast<std::size_t>(i))->watch(carts.back().get());
    const std::string path = test::fixturePath(soakFile(i));
    if (path.empty()) {
      report.setupError = "ffmpeg could not make " + soakFile(i).name;
      return report;
    }
    // A second try: under valgrind the first analysis of a type can outlast
    // the reader's time limit while the decoder's code is translated.
    cart::BindResult bound = carts.back()->SetTitle(path);
    if (!bound) bound = carts.back()->SetTitle(path);
    if (!bound) {
      report.setupError = path + ": " + bound.error;
      return report;
    }
    carts.back()->Setloop(i % 5 != 0);
    carts.back()->SetFadein(i % 3 == 0);
    carts.back()->SetFadeout(i % 4 == 0);
  }
  std::string error;
  audio::OutputStream* stream = engine.devices.stream(0, error);
  if (stream == nullptr) {
    report.setupError = "null device: " + error;
    return report;
  }
  audio::Mixer& mixer = stream->mixer();
  std::vector<std::int16_t> buffer(2 * kPeriod);

  std::mt19937 random(settings.seed);
  std::exponential_distribution<double> pause(1.0 / 0.4);  // an action every 0.4 s
  // The clock starts at 1 s: a first-frame time of 0 means none yet.
  const std::int64_t originNs = 1'000'000'000;
  engine.clock.advance(std::chrono::nanoseconds(originNs));
  const auto totalFrames = static_cast<std::int64_t>(settings.airSeconds * kRate);
  auto timeOf = [&](std::int64_t frames) { return originNs + frames * 1'000'000'000 / kRate; };

  std::int64_t nextActionNs = originNs;
  std::int64_t nextSecondNs = originNs;
  std::int64_t nextReportNs =
      originNs + static_cast<std::int64_t>(settings.reportEverySeconds * 1e9);
  std::vector<std::int64_t> activeSince(kCarts, -1);
  std::vector<bool> stuckNow(kCarts, false);
  std::int64_t playingSamples = 0;
  std::int64_t seconds = 0;
  bool warm = false;

  for (std::int64_t frames = 0; frames < totalFrames; frames += kPeriod) {
    const std::int64_t now = timeOf(frames);
    // The clock stands still while the workers catch up, as if they were
    // infinitely fast; their answers are taken before the device's turn.
    engine.readPool.waitUntilSettled();
    engine.clock.runPosted();
    mixer.render(buffer.data(), kPeriod, 2, now);  // the audio thread's turn
    const std::int64_t next = timeOf(frames + kPeriod);
    engine.clock.advance(std::chrono::nanoseconds(next - engine.clock.now().count()));

    while (next >= nextActionNs) {
      int active = 0;
      for (const auto& c : carts) active += c->Playing() && !c->Paused();
      const int pick = std::uniform_int_distribution<int>(0, kCarts - 1)(random);
      cart::Cartouche& cart = *carts[static_cast<std::size_t>(pick)];
      if (active < kBusyCarts && !cart.Playing()) {
        cart.ListenMusic();
        ++report.starts;
      } else {
        act(cart, random, report.starts);
      }
      ++report.actions;
      nextActionNs += static_cast<std::int64_t>(pause(random) * 1e9) + 1;
    }

    if (next >= nextSecondNs) {
      nextSecondNs += 1'000'000'000;
      ++seconds;
      for (int i = 0; i < kCarts; ++i) {
        const cart::Cartouche& c = *carts[static_cast<std::size_t>(i)];
        const bool active = c.Playing() && !c.Paused();
        playingSamples += active;
        if (!active) {
          activeSince[static_cast<std::size_t>(i)] = -1;
          stuckNow[static_cast<std::size_t>(i)] = false;
          continue;
        }
        std::int64_t& since = activeSince[static_cast<std::size_t>(i)];
        if (since < 0) since = next;
        const std::int64_t moved =
            std::max(since, engine.players[static_cast<std::size_t>(i)]->lastProgressNs());
        if (next - moved > kStuckNs && !stuckNow[static_cast<std::size_t>(i)]) {
          stuckNow[static_cast<std::size_t>(i)] = true;
          report.stuck.push_back(std::string(1, static_cast<char>('A' + i)) + " at " +
                                 clockText(next - originNs) + ": no progress for " +
                                 std::to_string((next - moved) / 1'000'000) + " ms");
        }
      }
      if (!warm && next - originNs >= std::int64_t{60} * 1'000'000'000) {
        warm = true;
        report.residentAtStartKb = statusKb("VmRSS");
      }
    }
    if (settings.reportEverySeconds > 0 && next >= nextReportNs) {
      nextReportNs += static_cast<std::int64_t>(settings.reportEverySeconds * 1e9);
      std::int64_t underruns = 0;
      for (const WatchedPlayer* p : engine.players) underruns += p->underruns();
      std::fprintf(stderr, "soak: %s of air, %lld underruns, %zu stuck, resident %ld kB\n",
                   clockText(next - originNs).c_str(), static_cast<long long>(underruns),
                   report.stuck.size(), statusKb("VmRSS"));
    }
  }

  if (!warm) report.residentAtStartKb = statusKb("VmRSS");
  report.residentAtEndKb = statusKb("VmRSS");
  report.residentPeakKb = statusKb("VmHWM");
  report.airSeconds = static_cast<double>(totalFrames) / kRate;
  report.meanPlayingCarts =
      seconds > 0 ? static_cast<double>(playingSamples) / static_cast<double>(seconds) : 0;
  for (const WatchedPlayer* p : engine.players) {
    report.underruns += p->underruns();
    report.timerChecks += p->timerChecks();
    report.lowestDriftMs = std::min(report.lowestDriftMs, p->lowestDriftMs());
    report.highestDriftMs = std::max(report.highestDriftMs, p->highestDriftMs());
  }
  carts.clear();  // before the engine they play on
  report.wallSeconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) == 0) {
    report.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                        (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  }
  return report;
}

std::string describe(const SoakReport& r) {
  std::ostringstream out;
  if (!r.setupError.empty()) {
    out << "soak could not start: " << r.setupError << "\n";
    return out.str();
  }
  out.setf(std::ios::fixed);
  out.precision(1);
  out << "air time           " << clockText(static_cast<std::int64_t>(r.airSeconds * 1e9)) << " in "
      << r.wallSeconds << " s of wall time (" << r.airSeconds / r.wallSeconds << "x real time), "
      << r.cpuSeconds << " s of CPU (" << r.airSeconds / r.cpuSeconds << "x real time)\n"
      << "script             " << r.actions << " actions, " << r.starts << " plays begun, "
      << r.meanPlayingCarts << " carts playing on average\n"
      << "underruns          " << r.underruns << "\n"
      << "stuck carts        " << r.stuck.size() << "\n";
  for (const std::string& s : r.stuck) out << "  " << s << "\n";
  out.precision(2);
  out << "drift              " << r.lowestDriftMs << " to " << r.highestDriftMs << " ms over "
      << r.timerChecks << " Timer events (allowed +-" << r.allowedDriftMs << " ms)\n"
      << "resident memory    " << r.residentAtStartKb << " kB after the first minute, "
      << r.residentAtEndKb << " kB at the end (" << (r.residentAtEndKb - r.residentAtStartKb)
      << " kB), peak " << r.residentPeakKb << " kB\n"
      << (r.passed() ? "PASSED" : "FAILED") << "\n";
  return out.str();
}

}  // namespace quillon::soak
