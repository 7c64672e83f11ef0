// Listens for OSC over UDP on one address and port (127.0.0.1 unless the
// settings give another) on a thread of its own, and posts each command that
// a packet carries (readOscPacket) to the mailbox. Everything else is counted
// and dropped. The socket is our own rather than liblo's server, because
// liblo 0.31's server always listens on every address of the machine.
//
// Created and destroyed on the UI thread; the destructor stops the thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace quillon::remote {

class RemoteMailbox;

class OscReceiver {
 public:
  struct Counts {
    std::uint64_t packets = 0;
    std::uint64_t commands = 0;
    std::uint64_t oversized = 0;
    std::uint64_t malformed = 0;
    std::uint64_t unknown = 0;
  };

  explicit OscReceiver(RemoteMailbox& mailbox) : m_mailbox(mailbox) {}
  ~OscReceiver();
  OscReceiver(const OscReceiver&) = delete;
  OscReceiver& operator=(const OscReceiver&) = delete;

  // Binds `address` (a numeric IPv4 or IPv6 address: no name is looked up)
  // and `port` (0: any free port, for tests) and starts listening. False with
  // `error` when it cannot. UI thread
  bool start(const std::string& address, int port, std::string& error);
  // The port listened on; 0 before start. UI thread
  int port() const { return m_port; }
  // any thread
  Counts counts() const;

 private:
  void run();  // the receiving thread

  RemoteMailbox& m_mailbox;
  int m_socket = -1;
  int m_port = 0;
  std::thread m_thread;
  // Set by the UI thread to end the receiving thread, which looks at it at
  // least every 100 ms: relaxed, the join orders everything else.
  std::atomic<bool> m_stop{false};
  // Statistics, written by the receiving thread: relaxed.
  std::atomic<std::uint64_t> m_packets{0}, m_commands{0}, m_oversized{0}, m_malformed{0},
      m_unknown{0};
};

}  // namespace quillon::remote
