// A JACK client of the test's own that records what another client sends:
// two input ports connected to that client's outputs, written into a
// preallocated buffer from JACK's process thread. Test support only.
#pragma once

#include <jack/jack.h>

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
  // Frames recorded so far. any thread
  long position() const { return m_written.load(std::memory_order_acquire); }
  // Channel 0 or 1, frames [from, to) (to clamped to position()).
  std::vector<float> channel(int c, long from, long to) const;
  // Cycles the server reported late (xruns) so far: a late cycle is a gap or
  // a repeat in what is heard, whoever was late. any thread
  int xruns() const { return m_xruns.load(std::memory_order_relaxed); }
  // The server died: never close the client (that could block for good).
  void abandon() { m_abandoned = true; }

 private:
  static int process(jack_nframes_t frames, void* self);
  static int xrun(void* self);

  jack_client_t* m_client = nullptr;
  jack_port_t* m_ports[2] = {nullptr, nullptr};
  int m_rate = 0;
  std::vector<float> m_data[2];
  // Written by JACK's thread after the samples (release); read with acquire.
  std::atomic<long> m_written{0};
  std::atomic<int> m_xruns{0};  // a count: relaxed
  bool m_abandoned = false;
};

}  // namespace quillon::test
