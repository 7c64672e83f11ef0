// A device's output, opened once and kept open, feeding one mixer from its
// own audio thread. UI thread, except where marked.
#pragma once

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

class OutputStream {
 public:
  virtual ~OutputStream() = default;

  virtual Mixer& mixer() = 0;
  // Why the stream no longer plays, or nothing while it does. `stallNs`: how
  // long without a callback counts as a failure.
  virtual std::optional<std::string> failure(std::int64_t nowNs, std::int64_t stallNs) const = 0;
  // The stream failed: from now on it is never closed or freed, since a
  // thread of the audio library may still be inside it.
  virtual void abandon() = 0;
  // Frames per callback seen last; 0 before the first. any thread
  virtual int lastCallbackFrames() const = 0;
};

}  // namespace quillon::audio
