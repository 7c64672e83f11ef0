// Worker threads for file work (opening, reading ahead, closing, analysing).
// A job runs on one worker from start to end; a job stuck in the kernel (a
// file on a stalled network share, a dying USB stick) holds only its own
// worker: whenever a job waits and every worker is busy, the pool starts
// another, up to kMaxWorkers, so one stuck file never holds up the others.
//
// Owned by the engine (UI thread); any thread may submit. Workers are
// detached: the pool's end waits a moment for jobs running, then leaves a
// worker stuck in the kernel behind (it touches nothing but shared state).
#pragma once

#include <functional>
#include <memory>

namespace quillon::audio {

class ReadPool {
 public:
  // Every cart's file and one given-up file per cart stuck at once, with
  // the analyses of a palette on top, stay below it.
  static constexpr int kMaxWorkers = 64;

  ReadPool();
  ~ReadPool();
  ReadPool(const ReadPool&) = delete;
  ReadPool& operator=(const ReadPool&) = delete;

  // Runs `job` on a worker, soon. Jobs submitted after the pool's end are
  // dropped. Any thread.
  void submit(std::function<void()> job);

  // Tests and benchmarks that step a clock by hand: waits until no job waits
  // and at most `held` jobs run (those the test keeps blocked). Any thread.
  void waitUntilSettled(int held = 0);
  // Workers started so far. Any thread.
  int workers() const;

  struct State;

 private:
  std::shared_ptr<State> m_state;
};

}  // namespace quillon::audio
