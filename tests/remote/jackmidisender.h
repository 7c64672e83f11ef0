// A JACK client of the test's own with one MIDI output port, sending the
// messages a test queues, one per process cycle, as a controller would.
// Test support only.
#pragma once

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::test {

class JackMidiSender {
 public:
  using Message = std::array<unsigned char, 3>;

  JackMidiSender(const std::string& server, std::string& error);
  ~JackMidiSender();
  JackMidiSender(const JackMidiSender&) = delete;
  JackMidiSender& operator=(const JackMidiSender&) = delete;

  bool ok() const { return m_client != nullptr; }
  // Connects our port to the first MIDI input port whose name contains
  // `destination`.
  bool connectTo(const std::string& destination, std::string& error);
  // Sends `messages` from the next cycles on. Call once. UI thread
  void send(std::vector<Message> messages);
  // Or: hold `messages` back, then let the first `count` go. UI thread
  void prepare(std::vector<Message> messages);
  void release(int count) { m_count.store(count, std::memory_order_release); }
  // Messages written to the port so far. any thread
  int sent() const { return m_sent.load(std::memory_order_acquire); }
  // The steady-clock time (ns) of the cycle that wrote message `i`. After sent() > i.
  std::int64_t sentAt(int i) const { return m_sentAt[static_cast<std::size_t>(i)]; }
  void abandon() { m_abandoned = true; }

 private:
  static int process(jack_nframes_t frames, void* self);

  jack_client_t* m_client = nullptr;
  jack_port_t* m_port = nullptr;
  std::vector<Message> m_messages;     // set before m_count is released
  std::vector<std::int64_t> m_sentAt;  // written by the process thread
  std::atomic<int> m_count{0};         // released by send()
  std::atomic<int> m_sent{0};          // released by the process thread
  bool m_abandoned = false;
};

}  // namespace quillon::test
