#include "audio/backgroundinformation.h"

#include <exception>
#include <mutex>

namespace quillon::audio {

// One analysis: the worker fills it, the UI thread takes it once `done`.
struct BackgroundInformation::Job {
  std::mutex mutex;
  bool done = false;
  bool ok = false;
  int rate = 0;
  FrameCount frames = 0;
  std::int64_t durationMs = 0;
  std::string error;
};

// What a worker's answer needs to reach the information (see ReadAheadReader).
struct BackgroundInformation::Link {
  std::mutex mutex;
  UiScheduler* scheduler = nullptr;
  BackgroundInformation* owner = nullptr;  // UI thread
};

namespace {

// worker thread. No fault of the wrapped information leaves the worker.
void analyse(Information& information, const std::string& path, BackgroundInformation::Job& job) {
  bool ok = false;
  std::string error;
  int rate = 0;
  FrameCount frames = 0;
  std::int64_t durationMs = 0;
  try {
    ok = information.OpenInfo(path);
    rate = information.InfoSampleRate();
    frames = information.InfoTotalSamples();
    durationMs = information.InfoDurationMs();
    error = information.lastError();
  } catch (const std::exception& e) {
    ok = false;
    error = e.what();
  } catch (...) {
    ok = false;
    error = "unknown fault in the analysis of " + path;
  }
  const std::lock_guard lock(job.mutex);
  job.ok = ok;
  job.rate = rate;
  job.frames = frames;
  job.durationMs = durationMs;
  job.error = error;
  job.done = true;
}

}  // namespace

BackgroundInformation::BackgroundInformation(MakeInformation make, ReadPool& pool,
                                             UiScheduler& scheduler)
    : m_make(std::move(make)),
      m_pool(pool),
      m_scheduler(scheduler),
      m_link(std::make_shared<Link>()) {
  m_link->scheduler = &scheduler;
  m_link->owner = this;
}

BackgroundInformation::~BackgroundInformation() {
  stopWatching();
  {
    const std::lock_guard lock(m_link->mutex);
    m_link->scheduler = nullptr;
  }
  m_link->owner = nullptr;
}

bool BackgroundInformation::OpenInfo(const std::string& path) {
  stopWatching();
  m_rate = 0;
  m_frames = 0;
  m_durationMs = 0;
  m_error.clear();
  auto job = std::make_shared<Job>();
  m_pending = job;
  m_askedAt = m_scheduler.now();
  m_askedPath = path;
  m_watch = m_scheduler.startRepeating(std::chrono::milliseconds(100), [this] {
    if (m_scheduler.now() - m_askedAt >= kAnswerBound) giveUp();
  });
  // The wrapped information is made here and lives on the worker, whose
  // call may outlast this object.
  std::shared_ptr<Information> information = m_make();
  m_pool.submit([information, path, job, link = m_link] {
    analyse(*information, path, *job);
    const std::lock_guard lock(link->mutex);
    if (link->scheduler == nullptr) return;
    link->scheduler->post([link, weak = std::weak_ptr<Job>(job)] {
      if (link->owner != nullptr) link->owner->answered(weak.lock().get());
    });
  });
  return true;
}

void BackgroundInformation::answered(const Job* job) {
  if (job == nullptr || job != m_pending.get()) return;  // replaced or given up
  bool ok = false;
  {
    const std::lock_guard lock(m_pending->mutex);
    ok = m_pending->ok;
    m_rate = m_pending->rate;
    m_frames = m_pending->frames;
    m_durationMs = m_pending->durationMs;
    m_error = m_pending->error;
  }
  m_pending.reset();
  stopWatching();
  if (m_handler != nullptr) m_handler->InformationAnswered(ok);
}

void BackgroundInformation::giveUp() {
  m_pending.reset();
  stopWatching();
  m_error = "The file did not answer within " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(kAnswerBound).count()) +
            " s: " + m_askedPath;
  if (m_handler != nullptr) m_handler->InformationAnswered(false);
}

void BackgroundInformation::stopWatching() {
  if (m_watch == 0) return;
  m_scheduler.stopRepeating(m_watch);
  m_watch = 0;
}

}  // namespace quillon::audio
