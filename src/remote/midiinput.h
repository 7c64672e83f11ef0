// The MIDI input port "Quillon" of the client "Quillon MIDI": JACK MIDI when
// a JACK server answers (JackMidiInput), else the ALSA sequencer (RtMidi). It is opened on a thread
// of its own, so a machine with no MIDI system (or a slow one) never holds up the program's start:
// the program simply runs without remote MIDI. Each note that presses a letter (MidiMapping) is
// posted to the mailbox from RtMidi's thread.
//
// Created and destroyed on the UI thread; the destructor waits for the
// opening to finish and closes the port, which ends RtMidi's thread.
#pragma once

#include <rtmidi/rtmidi_c.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "remote/jackmidiinput.h"
#include "remote/midimapping.h"

namespace quillon::remote {

class RemoteMailbox;

class MidiInput {
 public:
  // The client is not "Quillon": that name is the audio output's, and JACK
  // would rename whichever of the two opened second, so a studio's saved
  // connections would find the program's outputs under "Quillon-01" (or, on
  // a slow start, the audio client failed to open at all).
  static constexpr const char* kClientName = "Quillon MIDI";
  static constexpr const char* kPortName = "Quillon";

  enum class State { Opening, Open, Unavailable };

  MidiInput(MidiMapping mapping, RemoteMailbox& mailbox);
  ~MidiInput();
  MidiInput(const MidiInput&) = delete;
  MidiInput& operator=(const MidiInput&) = delete;

  // any thread
  State state() const { return m_state.load(std::memory_order_acquire); }
  // Once the state is no longer Opening: the MIDI system used ("JACK",
  // "ALSA") or why none could be (empty while Opening). any thread
  std::string description() const;
  // Notes that pressed a letter. any thread
  std::uint64_t presses() const { return m_presses.load(std::memory_order_relaxed); }

 private:
  void open();  // the opening thread
  static void received(double, const unsigned char* message, std::size_t size, void* self);
  static void receivedFromJack(const unsigned char* message, std::size_t size, void* self);

  MidiMapping m_mapping;
  RemoteMailbox& m_mailbox;
  // Written by the opening thread before m_state; at most one of them.
  std::unique_ptr<JackMidiInput> m_jack;
  RtMidiWrapper* m_input = nullptr;
  mutable std::mutex m_textLock;  // guards m_description only
  std::string m_description;
  // Released by the opening thread after m_input is set; acquired by readers.
  std::atomic<State> m_state{State::Opening};
  // A statistic: relaxed.
  std::atomic<std::uint64_t> m_presses{0};
  std::thread m_opener;
};

}  // namespace quillon::remote
