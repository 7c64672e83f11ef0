#include "audio/readpool.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace quillon::audio {

struct ReadPool::State {
  std::mutex mutex;
  std::condition_variable wake;     // a job or the end for the workers
  std::condition_variable changed;  // a job started or ended, a worker left
  std::deque<std::function<void()>> jobs;
  int workers = 0;
  int idle = 0;
  int running = 0;
  bool stopped = false;
};

namespace {

// worker thread
void work(const std::shared_ptr<ReadPool::State>& state) {
  ReadPool::State& s = *state;
  std::unique_lock lock(s.mutex);
  for (;;) {
    ++s.idle;
    s.wake.wait(lock, [&] { return s.stopped || !s.jobs.empty(); });
    --s.idle;
    if (s.stopped) break;
    auto job = std::move(s.jobs.front());
    s.jobs.pop_front();
    ++s.running;
    lock.unlock();
    job();  // jobs catch their own faults: nothing crosses the thread
    job = nullptr;
    lock.lock();
    --s.running;
    s.changed.notify_all();
  }
  --s.workers;
  s.changed.notify_all();
}

}  // namespace

ReadPool::ReadPool() : m_state(std::make_shared<State>()) {}

ReadPool::~ReadPool() {
  std::unique_lock lock(m_state->mutex);
  m_state->stopped = true;
  m_state->jobs.clear();
  m_state->wake.notify_all();
  // Jobs on healthy files end within milliseconds; one stuck in the kernel
  // may never, and the program must still be able to end.
  m_state->changed.wait_for(lock, std::chrono::milliseconds(500),
                            [&] { return m_state->workers == 0; });
}

void ReadPool::submit(std::function<void()> job) {
  const std::lock_guard lock(m_state->mutex);
  if (m_state->stopped) return;
  m_state->jobs.push_back(std::move(job));
  if (m_state->idle < static_cast<int>(m_state->jobs.size()) && m_state->workers < kMaxWorkers) {
    ++m_state->workers;
    std::thread([state = m_state] { work(state); }).detach();
  }
  m_state->wake.notify_one();
  m_state->changed.notify_all();
}

void ReadPool::waitUntilSettled(int held) {
  std::unique_lock lock(m_state->mutex);
  m_state->changed.wait(lock, [&] {
    return m_state->stopped || (m_state->jobs.empty() && m_state->running <= held);
  });
}

int ReadPool::workers() const {
  const std::lock_guard lock(m_state->mutex);
  return m_state->workers;
}

}  // namespace quillon::audio
