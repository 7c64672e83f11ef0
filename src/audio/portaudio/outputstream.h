// A device's output, opened once and kept open, feeding one mixer from its
// own audio thread. UI thread, except where marked.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "audio/portaudio/mixer.h"

namespace quillon::audio {

// Steady-clock time in nanoseconds. any thread
inline std::int64_t steadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// When a stream's callback last ran, for the watchdog. A device may take a
// while to its first callback (a PulseAudio sink was seen taking up to 1.9 s),
// so until then it has kFirstCallbackLimit; after that, the caller's stall
// limit. Relaxed atomics: single values read for timeouts and display.
class StreamHeartbeat {
 public:
  static constexpr std::chrono::milliseconds kFirstCallbackLimit{3000};

  // The stream is being started. UI thread
  void starting(std::int64_t nowNs) {
    m_startedNs.store(nowNs, std::memory_order_relaxed);
    m_lastNs.store(0, std::memory_order_relaxed);
  }
  // A callback ran. audio thread
  void beat(std::int64_t nowNs, int frames) noexcept {
    m_lastNs.store(nowNs, std::memory_order_relaxed);
    m_lastFrames.store(frames, std::memory_order_relaxed);
  }
  // Whether the callback has gone quiet for too long. any thread
  bool stalled(std::int64_t nowNs, std::int64_t stallNs) const {
    const std::int64_t last = m_lastNs.load(std::memory_order_relaxed);
    if (last == 0) {
      const std::int64_t limit = std::chrono::nanoseconds(kFirstCallbackLimit).count();
      return nowNs - m_startedNs.load(std::memory_order_relaxed) > limit;
    }
    return nowNs - last > stallNs;
  }
  int lastFrames() const { return m_lastFrames.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::int64_t> m_startedNs{0};
  std::atomic<std::int64_t> m_lastNs{0};
  std::atomic<int> m_lastFrames{0};
};

class OutputStream {
 public:
  virtual ~OutputStream() = default;

  virtual Mixer& mixer() = 0;
  // Why the stream no longer plays, or nothing while it does. `stallNs`: how
  // long without a callback counts as a failure once the first has come.
  virtual std::optional<std::string> failure(std::int64_t nowNs, std::int64_t stallNs) const = 0;
  // Stops the stream and lets the device go; no callback runs after it
  // returns. It may block (a device that went away), so the device manager
  // calls it off the UI thread. any thread, once
  virtual void close() noexcept = 0;
  // Frames per callback seen last; 0 before the first. any thread
  virtual int lastCallbackFrames() const = 0;
};

}  // namespace quillon::audio
