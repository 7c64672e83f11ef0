// A worker thread shared by many lanes (a lane per cart or per player),
// serving those that have work in turn, one piece of work at a time, so that
// no cart waits behind another's whole file. The device players' conversion
// runs on one. (Files are read on a ReadPool instead: a lane stuck in the
// kernel would hold every other lane of its thread.)
#pragma once

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillon::audio {

// A lane's side of the bargain.
class WorkLane {
 public:
  virtual ~WorkLane() = default;
  // Whether the lane has work; called with the pool's mutex held.
  virtual bool wantsWork() const = 0;
  // Does one piece of work; called on the worker thread with no lock held.
  // `poolMutex` guards what the lane shares with its owner.
  virtual void serve(std::mutex& poolMutex) = 0;
};

// What the thread and the lanes' owners share; guarded by `mutex`.
struct LanePool {
  std::mutex mutex;
  std::condition_variable wake;
  std::vector<std::weak_ptr<WorkLane>> lanes;
  std::size_t next = 0;  // round robin
  bool stopped = false;  // no thread serves the lanes (any more)

  // Takes a lane in (locks `mutex`).
  void add(const std::shared_ptr<WorkLane>& lane);
  // The next lane with work, in turn; the caller holds `mutex`.
  std::shared_ptr<WorkLane> laneWantingWork();
};

// The worker thread. Owned by the engine's UI thread; lanes that outlive it
// find their pool stopped.
class LaneThread {
 public:
  LaneThread();
  ~LaneThread();  // stops and joins the thread
  LaneThread(const LaneThread&) = delete;
  LaneThread& operator=(const LaneThread&) = delete;

  const std::shared_ptr<LanePool>& pool() const { return m_pool; }

 private:
  void run();  // worker thread

  std::shared_ptr<LanePool> m_pool;
  std::thread m_thread;
};

}  // namespace quillon::audio
