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
  const int device = findUsable(m_awaited);
  m_host.choose(device);
  if (device < 0) return Step::StillMissing;
  m_awaited.clear();
  return Step::Returned;
}

int DeviceReturn::findUsable(const std::string& name) {
  const int count = m_main.DeviceCount();
  for (int d = 0; d < count; ++d) {
    m_main.SelectDevice(d);
    if (m_main.DeviceUsable() && m_main.DeviceName() == name) return d;
  }
  m_main.SelectDevice(-1);
  return -1;
}

}  // namespace quillon::remote
