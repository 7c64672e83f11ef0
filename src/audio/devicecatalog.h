// The output devices of this machine, shared by every player of the process.
// UI thread.
#pragma once

#include <optional>
#include <string>

namespace quillon::audio {

struct DeviceInfo {
  std::string name;
  bool usable = false;
  // Listed at the last reading. A device that goes keeps its number (and is
  // not usable) so that it is taken again under that number when it returns.
  bool present = true;
};

class DeviceCatalog {
 public:
  virtual ~DeviceCatalog() = default;

  virtual int count() const = 0;
  // Nothing for a number with no device behind it.
  virtual std::optional<DeviceInfo> device(int index) const = 0;
  // The device a new player starts on; -1 when there is none.
  virtual int defaultDevice() const = 0;
  // Reads the machine's devices again (a server restarted, a card plugged in).
  // A device keeps its number for the process's life, whatever comes or goes.
  virtual void rescan() = 0;
};

}  // namespace quillon::audio
