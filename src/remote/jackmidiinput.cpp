#include "remote/jackmidiinput.h"

#include <jack/midiport.h>

namespace quillon::remote {

JackMidiInput::JackMidiInput(jack_client_t* client, Receiver receiver, void* user)
    : m_client(client), m_receiver(receiver), m_user(user) {}

std::unique_ptr<JackMidiInput> JackMidiInput::open(const char* clientName, const char* portName,
                                                   Receiver receiver, void* user,
                                                   std::string& error) {
  jack_status_t status{};
  jack_client_t* client = jack_client_open(clientName, JackNoStartServer, &status);
  if (client == nullptr) {
    error = "no JACK server answers";
    return nullptr;
  }
  std::unique_ptr<JackMidiInput> input(new JackMidiInput(client, receiver, user));
  input->m_port = jack_port_register(client, portName, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
  jack_on_info_shutdown(client, &JackMidiInput::shutdown, input.get());
  if (input->m_port == nullptr ||
      jack_set_process_callback(client, &JackMidiInput::process, input.get()) != 0 ||
      jack_activate(client) != 0) {
    error = "cannot make the JACK MIDI port";
    jack_client_close(client);
    input->m_closed = true;
    return nullptr;
  }
  input->m_closer = std::thread([raw = input.get()] { raw->closeWhenGone(); });
  return input;
}

JackMidiInput::~JackMidiInput() {
  m_stopping.store(true, std::memory_order_release);
  m_wake.release();
  if (m_closer.joinable()) m_closer.join();
  // Waits for a running process cycle: no callback runs after this.
  if (!m_closed) jack_client_close(m_client);
}

void JackMidiInput::closeWhenGone() {
  m_wake.acquire();
  if (!m_gone.load(std::memory_order_acquire)) return;  // stopping
  jack_client_close(m_client);
  m_closed = true;
}

// JACK's process thread
int JackMidiInput::process(jack_nframes_t frames, void* self) noexcept {
  auto* in = static_cast<JackMidiInput*>(self);
  void* buffer = jack_port_get_buffer(in->m_port, frames);
  const jack_nframes_t count = jack_midi_get_event_count(buffer);
  for (jack_nframes_t i = 0; i < count; ++i) {
    jack_midi_event_t event{};
    if (jack_midi_event_get(&event, buffer, i) == 0) {
      in->m_receiver(event.buffer, event.size, in->m_user);
    }
  }
  return 0;
}

// one of JACK's threads: an atomic store and a semaphore post, nothing else
void JackMidiInput::shutdown(jack_status_t /*code*/, const char* /*reason*/, void* self) noexcept {
  auto* in = static_cast<JackMidiInput*>(self);
  in->m_gone.store(true, std::memory_order_release);
  in->m_wake.release();
}

}  // namespace quillon::remote
