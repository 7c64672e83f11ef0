// Closes output streams off the UI thread. Closing a stream can block: JACK
// waits for its server to answer, PortAudio on a card that went away may
// wait much longer. Each close runs on a thread of its own, so one stuck
// close holds up no other; the stream is destroyed on that thread once
// closed. Finished threads are joined by reap(). UI thread.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "audio/portaudio/outputstream.h"

namespace quillon::audio {

class DeviceCloser {
 public:
  // How long the destructor waits for closes still running before it
  // leaves them to end with the process.
  static constexpr std::chrono::milliseconds kShutdownWait{2000};

  DeviceCloser() = default;
  ~DeviceCloser();
  DeviceCloser(const DeviceCloser&) = delete;
  DeviceCloser& operator=(const DeviceCloser&) = delete;

  void close(std::unique_ptr<OutputStream> stream);
  // Joins the threads whose close has returned.
  void reap();
  // Closes not yet returned.
  int closing() const;

 private:
  struct Job {
    // Set by the closing thread when it is done (release: the stream's
    // destruction happens before the join that follows).
    std::atomic<bool> done{false};
    std::thread thread;
  };
  std::vector<std::unique_ptr<Job>> m_jobs;
};

}  // namespace quillon::audio
