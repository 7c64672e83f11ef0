// A JACK client of the benchmark's own that listens to another client's
// output ports and notes when the first non-silent frame reaches the server
// after it is armed: its JACK frame time and that time on the steady clock.
// Benchmark support. Main thread, except process (JACK's process thread).
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>

namespace quillon::bench {

class FirstSoundProbe {
 public:
  FirstSoundProbe(const std::string& server, std::string& error);
  ~FirstSoundProbe();
  FirstSoundProbe(const FirstSoundProbe&) = delete;
  FirstSoundProbe& operator=(const FirstSoundProbe&) = delete;

  bool ok() const { return m_client != nullptr; }
  int periodFrames() const;
  int sampleRate() const;
  bool connectFrom(const std::string& client, std::string& error);

  // Waits for the next sound from now on.
  void arm();
  // Whether it came since arm().
  bool heard() const { return m_heard.load(std::memory_order_acquire); }
  // The steady-clock time (ns) of the server's cycle that carried the first
  // non-silent frame, plus that frame's place in the cycle.
  std::int64_t heardAtNs() const;

 private:
  static int process(jack_nframes_t frames, void* self);

  jack_client_t* m_client = nullptr;
  jack_port_t* m_ports[2] = {nullptr, nullptr};
  // Set by the main thread (release) when armed; cleared by the process
  // thread, which then writes the frame time and releases m_heard.
  std::atomic<bool> m_armed{false};
  std::atomic<bool> m_heard{false};
  jack_nframes_t m_heardFrame = 0;  // written before m_heard is released
  std::int64_t m_steadyMinusJackNs = 0;
};

}  // namespace quillon::bench
