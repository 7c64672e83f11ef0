#include "remote/devicereturn.h"

namespace quillon::remote {

DeviceReturn::Step DeviceReturn::check() {
  if (m_main.DeviceUsable()) {
    m_awaited.clear();
    return Step::Present;
  }
  if (m_awaited.empty()) {
    // A failed device keeps its name in the list until the list is read again.
    m_awaited = m_main.DeviceName();
    if (m_awaited.empty()) return Step::NothingChosen;
  }
  if (m_host.anyCartPlaying && m_host.anyCartPlaying()) return Step::CartPlaying;
  m_main.RescanDevices();
  const int device = deviceNamed(m_main, m_awaited);
  // Still listed (gone, keeping its number): it stays the choice, shown as
  // absent, and is taken again under that number when it returns.
  m_host.choose(device);
  if (device < 0 || !m_main.DeviceUsable()) return Step::StillMissing;
  m_awaited.clear();
  return Step::Returned;
}

int deviceNamed(audio::Player& player, const std::string& name) {
  const int count = player.DeviceCount();
  int listed = -1;
  for (int d = 0; d < count; ++d) {
    player.SelectDevice(d);
    if (player.DeviceName() != name) continue;
    if (player.DeviceUsable()) return d;
    if (listed < 0) listed = d;
  }
  player.SelectDevice(listed);
  return listed;
}

}  // namespace quillon::remote
