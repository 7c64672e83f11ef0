// A UiScheduler whose clock only moves when the caller steps it: tests and
// soaks run hours of playing in seconds, deterministically. Single-threaded,
// but for post, which any thread may call.
#pragma once

#include <deque>
#include <map>
#include <mutex>

#include "audio/scheduler.h"

namespace quillon::audio {

class ManualScheduler : public UiScheduler {
 public:
  ManualScheduler() = default;
  // Takes the other's clock, tasks and timers; no other thread may post to
  // either meanwhile.
  ManualScheduler(ManualScheduler&& other) noexcept;

  void post(std::function<void()> task) override;
  TimerId startRepeating(std::chrono::milliseconds period, std::function<void()> tick) override;
  void stopRepeating(TimerId id) override;
  void processEvents() override;
  std::chrono::nanoseconds now() const override { return m_now; }

  // Moves the clock forward by `step`, firing every timer that falls due in
  // order of due time, and running posted tasks after each firing.
  void advance(std::chrono::nanoseconds step);
  // Runs posted tasks (and the tasks they post) until none is left.
  void runPosted();
  std::size_t pendingTasks() const;

 private:
  struct Repeating {
    std::chrono::nanoseconds period;
    std::chrono::nanoseconds due;
    std::function<void()> tick;
  };
  // The next posted task, if any.
  std::function<void()> takeTask();

  std::chrono::nanoseconds m_now{0};
  mutable std::mutex m_tasksMutex;  // guards m_tasks only
  std::deque<std::function<void()>> m_tasks;
  std::map<TimerId, Repeating> m_timers;
  TimerId m_nextId = 1;
};

}  // namespace quillon::audio
