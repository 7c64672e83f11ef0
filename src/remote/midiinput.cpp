#include "remote/midiinput.h"

#include "remote/remotemailbox.h"

namespace quillon::remote {

namespace {

// Opens the port on one MIDI system; null with `error` set when it cannot.
// RtMidi's C interface keeps no readable reason (its message points into an
// exception already gone), so the reason is ours.
RtMidiWrapper* openOn(RtMidiApi api, const char* name, RtMidiCCallback callback, void* user,
                      std::string& error) {
  RtMidiWrapper* input = rtmidi_in_create(api, MidiInput::kClientName, 100);
  if (input == nullptr || !input->ok) {
    error = std::string(name) + ": cannot make a MIDI client";
    if (input != nullptr) rtmidi_in_free(input);
    return nullptr;
  }
  // Notes only: SysEx, timing and active sensing are not asked for.
  rtmidi_in_ignore_types(input, true, true, true);
  rtmidi_in_set_callback(input, callback, user);
  if (input->ok) rtmidi_open_virtual_port(input, MidiInput::kPortName);
  if (!input->ok) {
    error = std::string(name) + ": no sequencer to open a port on";
    rtmidi_in_free(input);
    return nullptr;
  }
  return input;
}

}  // namespace

MidiInput::MidiInput(MidiMapping mapping, RemoteMailbox& mailbox)
    : m_mapping(mapping), m_mailbox(mailbox) {
  m_opener = std::thread([this] { open(); });
}

MidiInput::~MidiInput() {
  if (m_opener.joinable()) m_opener.join();
  // Each waits for its thread or process cycle: no callback runs after this.
  m_jack.reset();
  if (m_input != nullptr) {
    rtmidi_close_port(m_input);
    rtmidi_in_free(m_input);
  }
}

std::string MidiInput::description() const {
  const std::lock_guard lock(m_textLock);
  return m_description;
}

void MidiInput::open() {
  std::string description;
  RtMidiWrapper* input = nullptr;
  {
    std::string jackError, alsaError;
    // JACK first: where a JACK server runs, its MIDI is what a studio
    // patches. With no server, JACK's client refuses at once. JACK through
    // its own library (RtMidi's JACK back end cannot survive its server's
    // death); the ALSA sequencer through RtMidi.
    m_jack =
        JackMidiInput::open(kClientName, kPortName, &MidiInput::receivedFromJack, this, jackError);
    description = "JACK";
    if (m_jack == nullptr) {
      jackError = "JACK: " + jackError;
      input = openOn(RTMIDI_API_LINUX_ALSA, "ALSA", &MidiInput::received, this, alsaError);
      description =
          input != nullptr ? "ALSA" : "no MIDI system (" + jackError + "; " + alsaError + ")";
    }
  }
  {
    const std::lock_guard lock(m_textLock);
    m_description = description;
  }
  m_input = input;
  m_state.store(input != nullptr || m_jack != nullptr ? State::Open : State::Unavailable,
                std::memory_order_release);
}

void MidiInput::receivedFromJack(const unsigned char* message, std::size_t size, void* user) {
  received(0, message, size, user);
}

void MidiInput::received(double, const unsigned char* message, std::size_t size, void* user) {
  // RtMidi's thread; under JACK, the server's process thread: no allocation,
  // no lock, no blocking from here on.
  auto* self = static_cast<MidiInput*>(user);
  const std::optional<char> letter = self->m_mapping.letterOf(message, size);
  if (!letter) return;
  self->m_presses.fetch_add(1, std::memory_order_relaxed);
  self->m_mailbox.post(RemoteCommand{RemoteAction::Fire, *letter, RemoteSource::Midi});
}

}  // namespace quillon::remote
