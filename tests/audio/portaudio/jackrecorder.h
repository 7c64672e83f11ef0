// A JACK client of the test's own that records what another client sends:
// two input ports connected to that client's outputs, written into a
// preallocated buffer from JACK's process thread. Test support only.
#pragma once

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <string>
#include <vector>

namespace quillon::test {

class JackRecorder {
 public:
  // Room for `seconds` of recording at the server's rate.
  JackRecorder(const std::string& server, int seconds, std::string& error);
  ~JackRecorder();
  JackRecorder(const JackRecorder&) = delete;
  JackRecorder& operator=(const JackRecorder&) = delete;

  bool ok() const { return m_client != nullptr; }
  int sampleRate() const { return m_rate; }
  // Connects the output ports of the client named `source` to ours.
  bool connectFrom(const std::string& source, std::string& error);
  // Connects whatever output ports feed the server's playback ports `left`
  // and `right` (e.g. "system:playback_3") to ours: records what reaches
  // that pair, whichever client sends it.
  bool connectFromFeedersOf(const std::string& left, const std::string& right, std::string& error);
  // Frames recorded so far. any thread
  long position() const { return m_written.load(std::memory_order_acquire); }
  // Channel 0 or 1, frames [from, to) (to clamped to position()).
  std::vector<float> channel(int c, long from, long to) const;
  // Where the server ran late (an xrun: a cycle that someone, on a busy
  // machine, finished late) or the recorder missed a cycle: positions in the
  // recording, each at or after the damage it marks (an xrun is reported a
  // little after it happened). any thread
  std::vector<long> glitches() const;
  // The server died: never close the client (that could block for good).
  void abandon() { m_abandoned = true; }

 private:
  static int process(jack_nframes_t frames, void* self);
  static int xrun(void* self);
  void markGlitch(long position) noexcept;

  jack_client_t* m_client = nullptr;
  jack_port_t* m_ports[2] = {nullptr, nullptr};
  int m_rate = 0;
  std::vector<float> m_data[2];
  // Written by JACK's thread after the samples (release); read with acquire.
  std::atomic<long> m_written{0};
  // Glitch positions: slots written before the count is released.
  static constexpr int kMaxGlitches = 4096;
  std::array<std::atomic<long>, kMaxGlitches> m_glitches{};
  std::atomic<int> m_glitchCount{0};
  // The latest cycle's start (JACK frame time) and the recording position it
  // began at, for placing xruns; read together without a lock, so a position
  // may be a cycle off, which the margins allow for.
  std::atomic<jack_nframes_t> m_cycleStart{0};
  std::atomic<long> m_cycleWritten{0};
  std::atomic<bool> m_started{false};
  jack_nframes_t m_lastFrames = 0;  // process thread only
  bool m_abandoned = false;
};

}  // namespace quillon::test
