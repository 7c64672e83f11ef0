#include "support/simulateddevices.h"

#include <algorithm>

#include "support/simulatedplayer.h"

namespace quillon::audio {

SimulatedDevices::SimulatedDevices() : m_devices{DeviceInfo{kNullDeviceName, true}} {}

std::optional<DeviceInfo> SimulatedDevices::device(int index) const {
  if (index < 0 || index >= count()) return std::nullopt;
  return m_devices[static_cast<std::size_t>(index)];
}

void SimulatedDevices::setDevices(std::vector<DeviceInfo> devices, int defaultDevice) {
  m_devices = std::move(devices);
  m_default = defaultDevice;
}

void SimulatedDevices::failDevice(int index, const std::string& reason) {
  if (index >= 0 && index < count()) m_devices[static_cast<std::size_t>(index)].usable = false;
  // A player may detach while being told; walk a copy.
  const auto players = m_players;
  for (SimulatedPlayer* p : players) {
    if (std::find(m_players.begin(), m_players.end(), p) != m_players.end()) {
      p->deviceFailed(index, reason);
    }
  }
}

void SimulatedDevices::attach(SimulatedPlayer* player) { m_players.push_back(player); }

void SimulatedDevices::detach(SimulatedPlayer* player) {
  m_players.erase(std::remove(m_players.begin(), m_players.end(), player), m_players.end());
}

bool SimulatedDevices::takeOpenFailure() {
  const bool fail = m_failNextOpen;
  m_failNextOpen = false;
  return fail;
}

}  // namespace quillon::audio
