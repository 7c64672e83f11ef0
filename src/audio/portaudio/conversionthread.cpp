#include "audio/portaudio/conversionthread.h"

#include <deque>
#include <mutex>
#include <utility>

#include "audio/portaudio/rateconverter.h"

namespace quillon::audio {

namespace conversion {

struct Job {
  AudioBlock block;
  bool end = false;
};

// One player's state. `converter` only under convertMutex; the rest only
// under the pool's mutex.
struct Lane : WorkLane {
  std::mutex convertMutex;
  RateConverter converter;

  std::deque<Job> pending;
  std::deque<std::unique_ptr<VoiceBlock>> done;
  std::string error;

  bool wantsWork() const override { return !pending.empty(); }

  // conversion thread
  void serve(std::mutex& poolMutex) override {
    const std::lock_guard converting(convertMutex);
    // The player may have reset since the thread chose this lane.
    if (Job job; takePending(job, poolMutex)) convert(std::move(job), poolMutex);
  }

  // The oldest job waiting, if any; the caller holds convertMutex.
  bool takePending(Job& job, std::mutex& poolMutex) {
    const std::lock_guard lock(poolMutex);
    if (pending.empty()) return false;
    job = std::move(pending.front());
    pending.pop_front();
    return true;
  }

  // Drops every job waiting or done; the caller holds convertMutex.
  void dropAll(std::mutex& poolMutex) {
    const std::lock_guard lock(poolMutex);
    pending.clear();
    done.clear();
    error.clear();
  }

  // Converts `job` and files the result; the caller holds convertMutex and
  // not the pool's mutex.
  void convert(Job job, std::mutex& poolMutex) {
    auto out = std::make_unique<VoiceBlock>();
    std::string why;
    bool ok = true;
    if (job.end) {
      ok = converter.flush(out->samples, why);
      if (!ok) out->samples.clear();  // the end still comes, without its last frames
      out->endOfFile = true;
    } else {
      ok = converter.convert(job.block.samples.data(), job.block.frames(), out->samples, why);
    }
    const std::lock_guard lock(poolMutex);
    if (!ok && error.empty()) error = why;
    if (out->endOfFile || (ok && out->frames() > 0)) done.push_back(std::move(out));
  }
};

}  // namespace conversion

using conversion::Job;
using conversion::Lane;

namespace {

std::shared_ptr<LanePool> poolOf(ConversionThread* thread) {
  if (thread != nullptr) return thread->pool();
  auto alone = std::make_shared<LanePool>();
  alone->stopped = true;
  return alone;
}

}  // namespace

ConversionLane::ConversionLane(ConversionThread* thread)
    : m_shared(poolOf(thread)), m_lane(std::make_shared<Lane>()) {
  m_shared->add(m_lane);
}
ConversionLane::~ConversionLane() {
  std::string ignored;
  reset(ignored);
}

bool ConversionLane::configure(const AudioFormat& in, int deviceRate, std::string& error) {
  const std::lock_guard converting(m_lane->convertMutex);
  m_lane->dropAll(m_shared->mutex);
  return m_lane->converter.configure(in, deviceRate, error);
}

bool ConversionLane::reset(std::string& error) {
  // Waits for a block being converted; the thread then finds nothing to do.
  const std::lock_guard converting(m_lane->convertMutex);
  m_lane->dropAll(m_shared->mutex);
  return m_lane->converter.reset(error);
}

void ConversionLane::submit(AudioBlock block, bool here) {
  submitJob(std::move(block), false, here);
}

void ConversionLane::submitEnd(bool here) { submitJob({}, true, here); }

void ConversionLane::submitJob(AudioBlock block, bool end, bool here) {
  if (!here) {
    bool queued = false;
    {
      const std::lock_guard lock(m_shared->mutex);
      if (!m_shared->stopped) {
        m_lane->pending.push_back(Job{std::move(block), end});
        queued = true;
      }
    }
    if (queued) {
      m_shared->wake.notify_one();
      return;
    }
  }
  // Converted here: a block being converted on the thread finishes first, and
  // the blocks waiting before this one come along (a device running dry needs
  // them all; a stopped thread left them).
  const std::lock_guard converting(m_lane->convertMutex);
  for (Job earlier; m_lane->takePending(earlier, m_shared->mutex);) {
    m_lane->convert(std::move(earlier), m_shared->mutex);
  }
  m_lane->convert(Job{std::move(block), end}, m_shared->mutex);
}

bool ConversionLane::full() const {
  const std::lock_guard lock(m_shared->mutex);
  return m_lane->pending.size() + m_lane->done.size() >= kMaxWaiting;
}

std::unique_ptr<VoiceBlock> ConversionLane::take() {
  const std::lock_guard lock(m_shared->mutex);
  if (m_lane->done.empty()) return nullptr;
  auto block = std::move(m_lane->done.front());
  m_lane->done.pop_front();
  return block;
}

std::string ConversionLane::takeError() {
  const std::lock_guard lock(m_shared->mutex);
  return std::exchange(m_lane->error, std::string{});
}

}  // namespace quillon::audio
