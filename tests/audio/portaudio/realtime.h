// Runs a ManualScheduler on the real clock, for tests and benchmarks of the
// player on real devices: the scheduler's time follows the steady clock in
// steps of about a millisecond. Single-threaded (the caller's thread is the
// UI thread).
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include "audio/manualscheduler.h"

namespace quillon::test {

// Runs for at most `limit`, or until `done` returns true; returns done's
// last answer (true when there is no `done`).
inline bool runRealTime(audio::ManualScheduler& clock, std::chrono::nanoseconds limit,
                        const std::function<bool()>& done = {}) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  auto last = start;
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const auto now = Clock::now();
    clock.advance(now - last);
    last = now;
    if (done && done()) return true;
    if (now - start >= limit) return !done;
  }
}

}  // namespace quillon::test
