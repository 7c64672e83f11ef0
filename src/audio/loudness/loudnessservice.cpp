#include "audio/loudness/loudnessservice.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>

namespace quillon::audio {

class BackgroundLoudness;

// One measurement asked for by one meter. The worker writes `result` before
// it posts the answer; the UI thread reads it in the posted task.
struct LoudnessService::Ticket {
  std::string path;
  std::atomic<bool> cancelled{false};  // relaxed: a hint to stop early
  LoudnessResult result;
  BackgroundLoudness* owner = nullptr;  // UI thread only
};

// What the service, its worker and its meters share; guarded by `mutex`.
struct LoudnessService::State {
  Measure measure;
  std::shared_ptr<LoudnessCache> cache;
  std::mutex mutex;
  std::condition_variable changed;
  std::deque<std::shared_ptr<Ticket>> waiting;
  std::shared_ptr<Ticket> running;
  UiScheduler* scheduler = nullptr;  // null once the service has ended
  bool stopping = false;
  bool exited = false;

  void submit(const std::shared_ptr<Ticket>& ticket) {
    const std::lock_guard lock(mutex);
    if (stopping) return;
    waiting.push_back(ticket);
    changed.notify_all();
  }
};

namespace {

using Ticket = LoudnessService::Ticket;
using State = LoudnessService::State;

// worker thread. No fault of the measurement leaves the worker.
LoudnessResult measureOrCache(State& state, Ticket& ticket) {
  try {
    std::string error;
    const std::optional<FileIdentity> before = identityOf(ticket.path, error);
    if (!before) return {std::nullopt, error};
    if (auto known = state.cache->find(*before)) return {known, {}};
    LoudnessResult result = state.measure(ticket.path, ticket.cancelled);
    // Kept only when the file did not change while it was measured.
    const std::optional<FileIdentity> after = identityOf(ticket.path, error);
    if (result.measurement && after && *after == *before) {
      state.cache->store(*before, *result.measurement, error);  // a cache not written is no fault
    }
    return result;
  } catch (const std::exception& e) {
    return {std::nullopt, e.what()};
  } catch (...) {
    return {std::nullopt, "unknown fault in the measurement of " + ticket.path};
  }
}

void answer(const std::shared_ptr<Ticket>& ticket);

// worker thread
void work(const std::shared_ptr<State>& state) {
  // Below the players and the read-ahead: a measurement may wait, a cart may
  // not. Best effort: refused, the worker runs at the normal priority.
  (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)), 10);
  std::unique_lock lock(state->mutex);
  for (;;) {
    state->changed.wait(lock, [&] { return state->stopping || !state->waiting.empty(); });
    if (state->stopping) break;
    std::shared_ptr<Ticket> ticket = std::move(state->waiting.front());
    state->waiting.pop_front();
    if (ticket->cancelled.load(std::memory_order_relaxed)) continue;
    state->running = ticket;
    state->changed.notify_all();
    lock.unlock();
    ticket->result = measureOrCache(*state, *ticket);
    lock.lock();
    state->running.reset();
    if (state->scheduler != nullptr && !ticket->cancelled.load(std::memory_order_relaxed)) {
      state->scheduler->post([ticket] { answer(ticket); });
    }
    state->changed.notify_all();
  }
  state->exited = true;
  state->changed.notify_all();
}

}  // namespace

// A cart's meter over the service. UI thread.
class BackgroundLoudness final : public LoudnessMeter {
 public:
  explicit BackgroundLoudness(std::shared_ptr<State> state) : m_state(std::move(state)) {}
  ~BackgroundLoudness() override { forget(); }

  void setEventHandler(LoudnessEvents* handler) override { m_handler = handler; }
  void measure(const std::string& path) override {
    forget();
    m_result.reset();
    if (path.empty()) return;
    m_ticket = std::make_shared<Ticket>();
    m_ticket->path = path;
    m_ticket->owner = this;
    m_state->submit(m_ticket);
  }
  const std::optional<LoudnessResult>& result() const override { return m_result; }
  bool pending() const override { return m_ticket != nullptr; }

  void answered(Ticket& ticket) {
    if (&ticket != m_ticket.get()) return;
    m_result = std::move(ticket.result);
    m_ticket->owner = nullptr;
    m_ticket.reset();
    if (m_handler != nullptr) m_handler->LoudnessAnswered();
  }

 private:
  void forget() {
    if (!m_ticket) return;
    m_ticket->cancelled.store(true, std::memory_order_relaxed);
    m_ticket->owner = nullptr;
    m_ticket.reset();
  }

  std::shared_ptr<State> m_state;
  std::shared_ptr<Ticket> m_ticket;  // the measurement on its way, if any
  std::optional<LoudnessResult> m_result;
  LoudnessEvents* m_handler = nullptr;
};

namespace {

// UI thread, from the event loop.
void answer(const std::shared_ptr<Ticket>& ticket) {
  if (ticket->owner != nullptr) ticket->owner->answered(*ticket);
}

}  // namespace

LoudnessService::LoudnessService(Measure measure, std::shared_ptr<LoudnessCache> cache,
                                 UiScheduler& scheduler)
    : m_state(std::make_shared<State>()) {
  m_state->measure = std::move(measure);
  m_state->cache = std::move(cache);
  m_state->scheduler = &scheduler;
  std::thread([state = m_state] { work(state); }).detach();
}

LoudnessService::~LoudnessService() {
  std::unique_lock lock(m_state->mutex);
  m_state->stopping = true;
  m_state->scheduler = nullptr;
  for (const auto& ticket : m_state->waiting) ticket->cancelled.store(true);
  m_state->waiting.clear();
  if (m_state->running) m_state->running->cancelled.store(true);
  m_state->changed.notify_all();
  // A measurement stops at its next block; one stuck in the kernel is left.
  m_state->changed.wait_for(lock, std::chrono::seconds(2), [&] { return m_state->exited; });
}

std::unique_ptr<LoudnessMeter> LoudnessService::createMeter() {
  return std::make_unique<BackgroundLoudness>(m_state);
}

void LoudnessService::waitUntilSettled(int held) {
  std::unique_lock lock(m_state->mutex);
  m_state->changed.wait(lock, [&] {
    const int busy = static_cast<int>(m_state->waiting.size()) + (m_state->running ? 1 : 0);
    return m_state->exited || busy <= held;
  });
}

}  // namespace quillon::audio
