#include "remote/midiinput.h"

#include <rtmidi/RtMidi.h>

#include "remote/remotemailbox.h"

namespace quillon::remote {

namespace {

// Opens the port on one MIDI system; null with `error` set when it cannot.
std::unique_ptr<RtMidiIn> openOn(RtMidi::Api api, RtMidiIn::RtMidiCallback callback, void* user,
                                 std::string& error) {
  try {
    auto input = std::make_unique<RtMidiIn>(api, MidiInput::kPortName);
    // Notes only: SysEx, timing and active sensing are not asked for.
    input->ignoreTypes(true, true, true);
    input->setCallback(callback, user);
    input->openVirtualPort(MidiInput::kPortName);
    if (!input->isPortOpen()) {
      error = RtMidi::getApiDisplayName(api) + ": the port did not open";
      return nullptr;
    }
    return input;
  } catch (const RtMidiError& e) {
    error = RtMidi::getApiDisplayName(api) + ": " + e.getMessage();
    return nullptr;
  }
}

}  // namespace

MidiInput::MidiInput(MidiMapping mapping, RemoteMailbox& mailbox)
    : m_mapping(mapping), m_mailbox(mailbox) {
  m_opener = std::thread([this] { open(); });
}

MidiInput::~MidiInput() {
  if (m_opener.joinable()) m_opener.join();
  // RtMidi's destructor ends its thread (ALSA) or closes the JACK client,
  // which waits for a running process cycle: no callback runs after this.
  m_input.reset();
}

std::string MidiInput::description() const {
  const std::lock_guard lock(m_textLock);
  return m_description;
}

void MidiInput::open() {
  std::string jackError, alsaError;
  // JACK first: where a JACK server runs, its MIDI is what a studio patches.
  // With no server, JACK's client refuses at once (it is told not to start one).
  std::unique_ptr<RtMidiIn> input =
      openOn(RtMidi::UNIX_JACK, &MidiInput::received, this, jackError);
  std::string used = "JACK";
  if (!input) {
    input = openOn(RtMidi::LINUX_ALSA, &MidiInput::received, this, alsaError);
    used = "ALSA";
  }
  const bool opened = input != nullptr;
  {
    const std::lock_guard lock(m_textLock);
    m_description = opened ? used : "no MIDI system (" + jackError + "; " + alsaError + ")";
  }
  m_input = std::move(input);
  m_state.store(opened ? State::Open : State::Unavailable, std::memory_order_release);
}

void MidiInput::received(double, std::vector<unsigned char>* message, void* user) {
  // RtMidi's thread; under JACK, the server's process thread: no allocation,
  // no lock, no blocking from here on.
  auto* self = static_cast<MidiInput*>(user);
  if (message == nullptr) return;
  const std::optional<char> letter = self->m_mapping.letterOf(message->data(), message->size());
  if (!letter) return;
  self->m_presses.fetch_add(1, std::memory_order_relaxed);
  self->m_mailbox.post(RemoteCommand{RemoteAction::Fire, *letter});
}

}  // namespace quillon::remote
