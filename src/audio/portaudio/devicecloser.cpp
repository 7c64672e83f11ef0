#include "audio/portaudio/devicecloser.h"

#include <algorithm>

namespace quillon::audio {

DeviceCloser::~DeviceCloser() {
  const auto until = std::chrono::steady_clock::now() + kShutdownWait;
  while (closing() > 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (auto& job : m_jobs) {
    if (job->done.load(std::memory_order_acquire)) {
      job->thread.join();
    } else {
      // Stuck in the audio library: it ends with the process. Its job stays
      // allocated, since the thread still writes `done`.
      job->thread.detach();
      job.release();  // NOLINT(bugprone-unused-return-value): left on purpose
    }
  }
}

void DeviceCloser::close(std::unique_ptr<OutputStream> stream) {
  if (!stream) return;
  reap();
  auto job = std::make_unique<Job>();
  Job* raw = job.get();
  job->thread = std::thread([raw, s = std::move(stream)]() mutable {
    s->close();
    s.reset();
    raw->done.store(true, std::memory_order_release);
  });
  m_jobs.push_back(std::move(job));
}

void DeviceCloser::reap() {
  for (auto& job : m_jobs) {
    if (job->done.load(std::memory_order_acquire)) {
      job->thread.join();
      job.reset();
    }
  }
  m_jobs.erase(std::remove(m_jobs.begin(), m_jobs.end(), nullptr), m_jobs.end());
}

int DeviceCloser::closing() const {
  return static_cast<int>(std::count_if(m_jobs.begin(), m_jobs.end(), [](const auto& job) {
    return !job->done.load(std::memory_order_acquire);
  }));
}

}  // namespace quillon::audio
