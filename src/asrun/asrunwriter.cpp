#include "asrun/asrunwriter.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "asrun/asrunlog.h"

namespace quillon::asrun {

struct AsRunWriter::Shared {
  Shared(std::filesystem::path folder, AsRunWriterCallbacks c, AsRunWriterOptions o)
      : log(std::move(folder)), callbacks(std::move(c)), options(o) {}

  const AsRunLog log;
  const AsRunWriterCallbacks callbacks;
  const AsRunWriterOptions options;

  mutable std::mutex mutex;
  std::condition_variable work;  // a line, a retry or the end is due
  std::condition_variable idle;  // a line was tried, or the thread ended
  std::deque<PlayRecord> lines;
  std::size_t dropped = 0;
  bool failing = false;
  // A line arrived since the last failure: try the disk again now.
  bool freshSinceFailure = false;
  bool busy = false;
  bool inCallback = false;
  bool stopping = false;
  bool silenced = false;  // the owner is gone: no callback any more
  bool finished = false;
  std::chrono::steady_clock::time_point retryAt;

  bool due() const {
    if (stopping) return true;
    if (lines.empty()) return false;
    return !failing || freshSinceFailure || std::chrono::steady_clock::now() >= retryAt;
  }
  bool settled() const { return lines.empty() || (failing && !freshSinceFailure && !busy); }

  // Runs one callback outside the lock, unless the owner has gone.
  template <typename Call>
  void tell(std::unique_lock<std::mutex>& lock, Call call) {
    if (silenced) return;
    inCallback = true;
    lock.unlock();
    call();
    lock.lock();
    inCallback = false;
    idle.notify_all();
  }

  void run() {
    std::unique_lock lock(mutex);
    for (;;) {
      if (failing) {
        work.wait_until(lock, retryAt, [this] { return due(); });
      } else {
        work.wait(lock, [this] { return due(); });
      }
      if (lines.empty()) {
        if (stopping) break;
        continue;
      }
      if (!due()) continue;  // woken early by the retry's deadline check
      const PlayRecord line = lines.front();
      freshSinceFailure = false;
      busy = true;
      lock.unlock();
      const AppendResult result = log.append(line);
      lock.lock();
      busy = false;
      if (result) {
        if (!lines.empty()) lines.pop_front();
        if (failing) {
          failing = false;
          if (callbacks.recovered) tell(lock, [this] { callbacks.recovered(); });
        }
      } else {
        retryAt = std::chrono::steady_clock::now() + options.retryAfter;
        if (!failing) {
          failing = true;
          if (callbacks.trouble) {
            tell(lock, [this, &result] { callbacks.trouble(result.message()); });
          }
        }
        if (stopping) break;  // the disk refuses: the program does not wait on it
      }
      idle.notify_all();
    }
    finished = true;
    idle.notify_all();
  }
};

AsRunWriter::AsRunWriter(std::filesystem::path folder, AsRunWriterCallbacks callbacks,
                         AsRunWriterOptions options)
    : m_shared(std::make_shared<Shared>(std::move(folder), std::move(callbacks), options)) {
  // The thread holds the shared state too, so that one left behind on a
  // hung disk at the end of the program touches nothing freed.
  std::thread([shared = m_shared] { shared->run(); }).detach();
}

AsRunWriter::~AsRunWriter() {
  Shared& s = *m_shared;
  std::unique_lock lock(s.mutex);
  s.stopping = true;
  s.work.notify_all();
  s.idle.wait_for(lock, s.options.shutdownWait, [&s] { return s.finished; });
  s.silenced = true;
  // A callback under way finishes before its receivers go.
  s.idle.wait(lock, [&s] { return !s.inCallback; });
}

void AsRunWriter::played(PlayRecord play) {
  Shared& s = *m_shared;
  {
    const std::lock_guard lock(s.mutex);
    s.lines.push_back(std::move(play));
    while (s.lines.size() > s.options.maxWaiting) {
      // The line being written stays: the writer takes it out when done.
      s.lines.erase(s.busy ? s.lines.begin() + 1 : s.lines.begin());
      ++s.dropped;
    }
    s.freshSinceFailure = true;
  }
  s.work.notify_all();
}

void AsRunWriter::drain() {
  Shared& s = *m_shared;
  std::unique_lock lock(s.mutex);
  s.idle.wait(lock, [&s] { return s.settled() || s.finished; });
}

std::size_t AsRunWriter::waiting() const {
  const std::lock_guard lock(m_shared->mutex);
  return m_shared->lines.size();
}

std::size_t AsRunWriter::dropped() const {
  const std::lock_guard lock(m_shared->mutex);
  return m_shared->dropped;
}

}  // namespace quillon::asrun
