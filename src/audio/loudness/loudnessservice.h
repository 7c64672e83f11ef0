// The measurement of the carts' loudness, one file at a time on a thread of
// its own at a low priority, so that measuring a palette never takes the
// processor from the players or the disk from their read-ahead, and never
// runs on the UI thread. Results come from the disk cache when the file is
// known, and reach each cart's meter through the event loop.
//
// Owned by the engine (UI thread); its meters may outlive it (they then never
// answer). Its worker is left behind at the end if a measurement is stuck in
// the kernel, like the read pool's; it touches only shared state.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "audio/loudness.h"
#include "audio/loudness/loudnesscache.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class LoudnessService {
 public:
  // Measures a file on the worker; stops early once `cancelled` is set.
  using Measure =
      std::function<LoudnessResult(const std::string& path, const std::atomic<bool>& cancelled)>;

  LoudnessService(Measure measure, std::shared_ptr<LoudnessCache> cache, UiScheduler& scheduler);
  ~LoudnessService();
  LoudnessService(const LoudnessService&) = delete;
  LoudnessService& operator=(const LoudnessService&) = delete;

  std::unique_ptr<LoudnessMeter> createMeter();  // UI thread

  // Tests: waits until no measurement waits or runs but `held` (those the
  // test keeps blocked). Any thread.
  void waitUntilSettled(int held = 0);

  struct State;
  struct Ticket;

 private:
  std::shared_ptr<State> m_state;
};

}  // namespace quillon::audio
