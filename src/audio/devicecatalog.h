// The output devices of this machine, shared by every player of the process.
// UI thread.
#pragma once

#include <optional>
#include <string>

namespace quillon::audio {

struct DeviceInfo {
  std::string name;
  bool usable = false;
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
  virtual void rescan() = 0;
};

}  // namespace quillon::audio
