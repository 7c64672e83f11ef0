// Shared by the remote tests: a record of the commands carried out, and a
// bounded wait that runs Qt's event loop. Test support.
#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "remote/remotecommand.h"
#include "settings/additionsettings.h"

namespace quillon::test {

struct RecordingCommands : remote::RemoteCommands {
  void fire(const std::string& letter, remote::RemoteSource source) override {
    log.push_back((source == remote::RemoteSource::Midi ? "fire midi " : "fire ") + letter);
  }
  void stop(const std::string& letter) override { log.push_back("stop " + letter); }
  void panic() override { log.push_back("panic"); }
  std::vector<std::string> log;
};

// Runs the event loop until `done` or `limit`; returns done's last answer.
inline bool waitFor(const std::function<bool()>& done,
                    std::chrono::milliseconds limit = std::chrono::seconds(10)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

// Runs the event loop for `span`, for checks that something does not happen.
inline void runFor(std::chrono::milliseconds span) {
  waitFor([] { return false; }, span);
}

inline settings::RemoteSettings oscOnly(const std::string& address = "127.0.0.1") {
  settings::RemoteSettings s;
  s.midi.enabled = false;
  s.osc.enabled = true;
  s.osc.address = address;
  return s;
}

}  // namespace quillon::test
