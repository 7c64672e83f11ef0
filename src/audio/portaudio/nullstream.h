// The null device: no sound card, the same mixer driven by a thread paced by
// the steady clock, so the program plays (silently) with the same timing,
// events and counts as on a card. UI thread, except the clock thread.
//
// Paced by its caller instead (no thread), a soak drives the mixer itself on
// a stepped clock and plays hours in minutes; the caller is then the audio
// thread.
#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "audio/portaudio/outputstream.h"

namespace quillon::audio {

class NullStream : public OutputStream {
 public:
  enum class Pacing { ClockThread, Caller };

  NullStream(int sampleRate, int periodFrames, Pacing pacing = Pacing::ClockThread);
  ~NullStream() override;

  Mixer& mixer() override { return m_mixer; }
  std::optional<std::string> failure(std::int64_t, std::int64_t) const override {
    return std::nullopt;
  }
  void close() noexcept override;
  int lastCallbackFrames() const override { return m_periodFrames; }

 private:
  void run();  // clock thread

  Mixer m_mixer;
  const int m_periodFrames;
  std::vector<std::int16_t> m_buffer;  // clock thread
  // Relaxed is enough: the thread only needs to see it eventually; join()
  // orders everything else.
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace quillon::audio
