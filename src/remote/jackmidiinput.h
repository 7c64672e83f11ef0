// A JACK MIDI input port through JACK's own client library: the client
// "Quillon MIDI" with the input port "Quillon". Unlike RtMidi's JACK back end,
// it survives its server's death: JACK's shutdown callback wakes a thread of
// its own that closes the dead client at once (closing it much later, after
// the process has opened clients on a new server, corrupts the client
// library's shared state and crashes the next close). It is not opened again
// when the server returns.
//
// Threads: made and destroyed on any one thread; the process callback on
// JACK's process thread; the shutdown callback on one of JACK's threads; the
// closing thread.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>

namespace quillon::remote {

class JackMidiInput {
 public:
  // Called from JACK's process thread for each MIDI event: no lock, no
  // allocation, no blocking.
  using Receiver = void (*)(const unsigned char* message, std::size_t size, void* user);

  // Null with `error` set when no JACK server answers or the port cannot be
  // made.
  static std::unique_ptr<JackMidiInput> open(const char* clientName, const char* portName,
                                             Receiver receiver, void* user, std::string& error);
  ~JackMidiInput();
  JackMidiInput(const JackMidiInput&) = delete;
  JackMidiInput& operator=(const JackMidiInput&) = delete;

  // Its server died (the client is closed, or about to be). any thread
  bool serverGone() const { return m_gone.load(std::memory_order_acquire); }

 private:
  JackMidiInput(jack_client_t* client, Receiver receiver, void* user);
  static int process(jack_nframes_t frames, void* self) noexcept;
  static void shutdown(jack_status_t code, const char* reason, void* self) noexcept;
  void closeWhenGone();  // the closing thread

  jack_client_t* m_client;
  jack_port_t* m_port = nullptr;
  Receiver m_receiver;
  void* m_user;
  // Set (release) before the wake-up; read with acquire.
  std::atomic<bool> m_gone{false};
  std::atomic<bool> m_stopping{false};
  std::binary_semaphore m_wake{0};
  bool m_closed = false;  // the closing thread, then the destructor after the join
  std::thread m_closer;
};

}  // namespace quillon::remote
