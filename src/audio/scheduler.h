// The UI thread's event loop as the engine sees it: posted tasks, repeating
// timers and a monotonic clock. The program runs it on Qt's event loop; tests
// and soaks run it on ManualScheduler, whose clock they step.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace quillon::audio {

using TimerId = std::uint64_t;

class UiScheduler {
 public:
  virtual ~UiScheduler() = default;

  // Runs `task` later from the event loop, after the current handler returns.
  // Any thread: the read-ahead's workers hand their answers over with it.
  virtual void post(std::function<void()> task) = 0;
  // Calls `tick` every `period` until stopRepeating; never re-entered.
  virtual TimerId startRepeating(std::chrono::milliseconds period, std::function<void()> tick) = 0;
  virtual void stopRepeating(TimerId id) = 0;
  // Lets the loop handle what is pending once, from inside a handler.
  virtual void processEvents() = 0;
  // Monotonic time.
  virtual std::chrono::nanoseconds now() const = 0;
};

}  // namespace quillon::audio
