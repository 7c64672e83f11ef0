// The device list of SimulatedPlayer, for tests: by default one silent
// device that plays to nowhere at the pace of the scheduler's clock; tests
// set other lists and make devices fail. UI thread.
#pragma once

#include <string>
#include <vector>

#include "audio/devicecatalog.h"

namespace quillon::audio {

class SimulatedPlayer;

class SimulatedDevices : public DeviceCatalog {
 public:
  static constexpr const char* kNullDeviceName = "No sound card (silent output)";

  SimulatedDevices();

  int count() const override { return static_cast<int>(m_devices.size()); }
  std::optional<DeviceInfo> device(int index) const override;
  int defaultDevice() const override { return m_default; }
  void rescan() override { ++m_rescans; }

  // For tests: another device list, and faults.
  void setDevices(std::vector<DeviceInfo> devices, int defaultDevice);
  // The device goes away: every player open on it is closed and told.
  void failDevice(int index, const std::string& reason);
  // The next OpenOutput on any device fails.
  void failNextOpen() { m_failNextOpen = true; }
  int rescans() const { return m_rescans; }

 private:
  friend class SimulatedPlayer;
  void attach(SimulatedPlayer* player);
  void detach(SimulatedPlayer* player);
  bool takeOpenFailure();

  std::vector<DeviceInfo> m_devices;
  int m_default = 0;
  int m_rescans = 0;
  bool m_failNextOpen = false;
  std::vector<SimulatedPlayer*> m_players;
};

}  // namespace quillon::audio
