// The soak: 26 carts on short files of every type, played, restarted,
// paused, sought, faded and stopped by a seeded script on the null device,
// whose mixer the soak renders itself on a stepped clock, so hours of air
// time take minutes. Single-threaded: the soak is both the UI thread and
// the audio thread, alternating period by period.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::soak {

struct SoakSettings {
  double airSeconds = 8 * 3600.0;
  std::uint32_t seed = 1;
  // Progress lines on stderr every this many seconds of air time; 0: none.
  double reportEverySeconds = 3600;
};

struct SoakReport {
  double airSeconds = 0;
  double wallSeconds = 0;
  double cpuSeconds = 0;  // the process's, user and system
  std::int64_t actions = 0;
  std::int64_t starts = 0;      // plays begun (fires, restarts, resumes)
  double meanPlayingCarts = 0;  // over the run, sampled each second
  std::int64_t underruns = 0;
  std::vector<std::string> stuck;  // "C at 01:23:45: ..." one per episode
  std::int64_t timerChecks = 0;
  double lowestDriftMs = 0;  // shown position minus device time
  double highestDriftMs = 0;
  double allowedDriftMs = 0;   // beyond this either way is a fault
  long residentAtStartKb = 0;  // after the first minute of air time
  long residentAtEndKb = 0;
  long residentPeakKb = 0;
  std::string setupError;  // files that could not be made or bound

  bool passed() const;
};

SoakReport runSoak(const SoakSettings& settings);
std::string describe(const SoakReport& report);

}  // namespace quillon::soak
