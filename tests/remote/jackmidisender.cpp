#include "jackmidisender.h"

#include <jack/midiport.h>

#include <chrono>

namespace quillon::test {

JackMidiSender::JackMidiSender(const std::string& server, std::string& error) {
  jack_status_t status{};
  m_client = jack_client_open("quillon-midi-sender",
                              static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                              &status, server.c_str());
  if (m_client == nullptr) {
    error = "cannot open a JACK client (status " + std::to_string(status) + ")";
    return;
  }
  m_port = jack_port_register(m_client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
  if (m_port == nullptr || jack_set_process_callback(m_client, process, this) != 0 ||
      jack_activate(m_client) != 0) {
    error = "cannot set up the JACK MIDI sender";
    jack_client_close(m_client);
    m_client = nullptr;
  }
}

JackMidiSender::~JackMidiSender() {
  if (m_client != nullptr && !m_abandoned) jack_client_close(m_client);
}

bool JackMidiSender::connectTo(const std::string& destination, std::string& error) {
  const char** ports =
      jack_get_ports(m_client, destination.c_str(), JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
  if (ports == nullptr || ports[0] == nullptr) {
    error = "no MIDI input port matches " + destination;
    if (ports != nullptr) jack_free(ports);
    return false;
  }
  const int rc = jack_connect(m_client, jack_port_name(m_port), ports[0]);
  if (rc != 0) error = std::string("cannot connect to ") + ports[0];
  jack_free(ports);
  return rc == 0;
}

void JackMidiSender::send(std::vector<Message> messages) {
  prepare(std::move(messages));
  release(static_cast<int>(m_messages.size()));
}

void JackMidiSender::prepare(std::vector<Message> messages) {
  m_messages = std::move(messages);
  m_sentAt.assign(m_messages.size(), 0);
}

int JackMidiSender::process(jack_nframes_t frames, void* user) {
  auto* self = static_cast<JackMidiSender*>(user);
  void* buffer = jack_port_get_buffer(self->m_port, frames);
  jack_midi_clear_buffer(buffer);
  const int sent = self->m_sent.load(std::memory_order_relaxed);
  if (sent < self->m_count.load(std::memory_order_acquire)) {
    const Message& m = self->m_messages[static_cast<std::size_t>(sent)];
    if (jack_midi_event_write(buffer, 0, m.data(), m.size()) == 0) {
      self->m_sentAt[static_cast<std::size_t>(sent)] =
          std::chrono::duration_cast<std::chrono::nanoseconds>(
              std::chrono::steady_clock::now().time_since_epoch())
              .count();
      self->m_sent.store(sent + 1, std::memory_order_release);
    }
  }
  return 0;
}

}  // namespace quillon::test
