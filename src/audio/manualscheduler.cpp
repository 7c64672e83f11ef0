#include "audio/manualscheduler.h"

#include <limits>

namespace quillon::audio {

ManualScheduler::ManualScheduler(ManualScheduler&& other) noexcept
    : m_now(other.m_now),
      m_tasks(std::move(other.m_tasks)),
      m_timers(std::move(other.m_timers)),
      m_nextId(other.m_nextId) {}

void ManualScheduler::post(std::function<void()> task) {
  const std::lock_guard lock(m_tasksMutex);
  m_tasks.push_back(std::move(task));
}

std::size_t ManualScheduler::pendingTasks() const {
  const std::lock_guard lock(m_tasksMutex);
  return m_tasks.size();
}

std::function<void()> ManualScheduler::takeTask() {
  const std::lock_guard lock(m_tasksMutex);
  if (m_tasks.empty()) return nullptr;
  auto task = std::move(m_tasks.front());
  m_tasks.pop_front();
  return task;
}

TimerId ManualScheduler::startRepeating(std::chrono::milliseconds period,
                                        std::function<void()> tick) {
  const TimerId id = m_nextId++;
  const std::chrono::nanoseconds p = period.count() > 0 ? period : std::chrono::milliseconds(1);
  m_timers[id] = Repeating{p, m_now + p, std::move(tick)};
  return id;
}

void ManualScheduler::stopRepeating(TimerId id) { m_timers.erase(id); }

void ManualScheduler::processEvents() {
  // Only what is pending now, as one pass of a real loop would.
  std::size_t n = pendingTasks();
  while (n-- > 0) {
    auto task = takeTask();
    if (!task) return;
    task();
  }
}

void ManualScheduler::runPosted() {
  while (auto task = takeTask()) task();
}

void ManualScheduler::advance(std::chrono::nanoseconds step) {
  const auto end = m_now + step;
  runPosted();
  for (;;) {
    TimerId next = 0;
    auto nextDue = std::chrono::nanoseconds::max();
    for (const auto& [id, t] : m_timers) {
      if (t.due < nextDue) {
        nextDue = t.due;
        next = id;
      }
    }
    if (next == 0 || nextDue > end) break;
    m_now = nextDue;
    auto& timer = m_timers[next];
    timer.due += timer.period;
    auto tick = timer.tick;  // the tick may stop or start timers
    tick();
    runPosted();
  }
  m_now = end;
}

}  // namespace quillon::audio
