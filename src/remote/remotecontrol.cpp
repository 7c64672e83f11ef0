#include "remote/remotecontrol.h"

namespace quillon::remote {

RemoteControl::RemoteControl(RemoteCommands& commands, const settings::RemoteSettings& settings,
                             int oscPortOverride)
    : m_commands(commands),
      m_midiBox([this](const RemoteCommand& c) { carryOut(c, m_commands); }),
      m_oscBox([this](const RemoteCommand& c) { carryOut(c, m_commands); }) {
  if (settings.midi.enabled && m_midiBox.ok()) {
    m_midi = std::make_unique<MidiInput>(
        MidiMapping(settings.midi.firstNote, settings.midi.channel), m_midiBox);
  }
  if (settings.osc.enabled) {
    if (!m_oscBox.ok()) {
      m_oscError = m_oscBox.error();
      return;
    }
    auto osc = std::make_unique<OscReceiver>(m_oscBox);
    const int port = oscPortOverride >= 0 ? oscPortOverride : settings.osc.port;
    if (osc->start(settings.osc.address, port, m_oscError)) m_osc = std::move(osc);
  }
}

RemoteControl::~RemoteControl() {
  m_osc.reset();
  m_midi.reset();
}

}  // namespace quillon::remote
