// Remote firing: the MIDI input and the OSC listener as the settings ask,
// each handing its commands to the UI thread through a mailbox of its own,
// where they are carried out on the program's RemoteCommands. Neither can
// stop the program's start: a MIDI system that is missing, or an OSC port
// that is taken, leaves that remote off, with the reason in status().
//
// UI thread. Destroy it before the RemoteCommands it was given.
#pragma once

#include <memory>
#include <string>

#include "remote/midiinput.h"
#include "remote/oscreceiver.h"
#include "remote/remotemailbox.h"
#include "settings/additionsettings.h"

namespace quillon::remote {

class RemoteControl {
 public:
  // `oscPortOverride` >= 0 replaces the settings' port (0: any free port,
  // for tests and benchmarks).
  RemoteControl(RemoteCommands& commands, const settings::RemoteSettings& settings,
                int oscPortOverride = -1);
  ~RemoteControl();
  RemoteControl(const RemoteControl&) = delete;
  RemoteControl& operator=(const RemoteControl&) = delete;

  // Null when switched off in the settings.
  const MidiInput* midi() const { return m_midi.get(); }
  // Null when switched off or when the port could not be opened.
  const OscReceiver* osc() const { return m_osc.get(); }
  // Why OSC is not listening; empty when it is or is switched off.
  const std::string& oscError() const { return m_oscError; }
  // Commands lost because a flood filled a mailbox.
  std::uint64_t dropped() const { return m_midiBox.dropped() + m_oscBox.dropped(); }

 private:
  RemoteCommands& m_commands;
  RemoteMailbox m_midiBox;
  RemoteMailbox m_oscBox;
  // Declared after the mailboxes: destroyed first, so no thread posts into
  // a mailbox that is gone.
  std::unique_ptr<MidiInput> m_midi;
  std::unique_ptr<OscReceiver> m_osc;
  std::string m_oscError;
};

}  // namespace quillon::remote
