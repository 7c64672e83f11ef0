// Runs the soak and prints its report; exits 1 on an underrun, a stuck cart
// or drift, never on time.
//   bench_soak [--hours H | --minutes M] [--seed N] [--quiet]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "soakrun.h"

int main(int argc, char** argv) {
  quillon::soak::SoakSettings settings;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--hours" && hasValue) {
      settings.airSeconds = std::atof(argv[++i]) * 3600;
    } else if (arg == "--minutes" && hasValue) {
      settings.airSeconds = std::atof(argv[++i]) * 60;
    } else if (arg == "--seed" && hasValue) {
      settings.seed = static_cast<std::uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else if (arg == "--quiet") {
      settings.reportEverySeconds = 0;
    } else {
      std::fprintf(stderr, "usage: %s [--hours H | --minutes M] [--seed N] [--quiet]\n", argv[0]);
      return 2;
    }
  }
  if (settings.airSeconds < 3600) settings.reportEverySeconds = 0;
  const quillon::soak::SoakReport report = quillon::soak::runSoak(settings);
  std::fputs(quillon::soak::describe(report).c_str(), stdout);
  return report.passed() ? 0 : 1;
}
