#include "audio/lanethread.h"

#include <algorithm>

namespace quillon::audio {

void LanePool::add(const std::shared_ptr<WorkLane>& lane) {
  const std::lock_guard lock(mutex);
  lanes.push_back(lane);
}

std::shared_ptr<WorkLane> LanePool::laneWantingWork() {
  std::erase_if(lanes, [](const std::weak_ptr<WorkLane>& l) { return l.expired(); });
  for (std::size_t i = 0; i < lanes.size(); ++i) {
    const std::size_t at = (next + i) % lanes.size();
    if (auto lane = lanes[at].lock(); lane && lane->wantsWork()) {
      next = at + 1;
      return lane;
    }
  }
  return nullptr;
}

LaneThread::LaneThread() : m_pool(std::make_shared<LanePool>()) {
  m_thread = std::thread([this] { run(); });
}

LaneThread::~LaneThread() {
  {
    const std::lock_guard lock(m_pool->mutex);
    m_pool->stopped = true;
  }
  m_pool->wake.notify_all();
  m_thread.join();
}

// worker thread
void LaneThread::run() {
  LanePool& pool = *m_pool;
  for (;;) {
    std::shared_ptr<WorkLane> lane;
    {
      std::unique_lock lock(pool.mutex);
      pool.wake.wait(lock, [&] {
        if (pool.stopped) return true;
        lane = pool.laneWantingWork();
        return lane != nullptr;
      });
      if (pool.stopped) return;
    }
    lane->serve(pool.mutex);
  }
}

}  // namespace quillon::audio
