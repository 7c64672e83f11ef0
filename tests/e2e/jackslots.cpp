#include "e2e/jackslots.h"

#include <jack/jack.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "support/jackserver.h"

namespace quillon::test {

namespace {

// The names of servers that left a socket: jack_NAME_UID_N in /dev/shm.
std::set<std::string> serverNamesWithFiles() {
  const std::regex socket("^jack_(.+)_" + std::to_string(getuid()) + "_[0-9]+$");
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", ec)) {
    const std::string file = entry.path().filename().string();
    std::smatch match;
    if (std::regex_match(file, match, socket)) names.insert(match[1].str());
  }
  return names;
}

bool alive(const std::string& name) {
  jack_status_t status{};
  jack_client_t* probe = jack_client_open(
      "quillon-slot-probe", static_cast<jack_options_t>(JackNoStartServer | JackServerName),
      &status, name.c_str());
  if (probe == nullptr) return false;
  jack_client_close(probe);
  return true;
}

}  // namespace

int reclaimDeadServerSlots() {
  int freed = 0;
  for (const std::string& name : serverNamesWithFiles()) {
    if (name.empty() || alive(name)) continue;
    JackServer server(name);
    std::string error;
    if (server.start(error)) {
      server.stop();
      ++freed;
    }
  }
  return freed;
}

}  // namespace quillon::test
