// What the status bar says of the pre-listen device while it cannot be
// used. UI thread.
#pragma once

#include <string>

namespace quillon::app {

// The status bar's subject for the pre-listen device.
inline constexpr const char* kPreListenSubject = "Pre-listen device";

struct PreListenDeviceState {
  std::string name;  // as listed; empty when none was found
  bool usable = false;
  bool present = false;         // listed at the last reading
  bool isOutputDevice = false;  // the same device as the carts' output
  std::string failure;          // why it last failed, if it did
};

// What the status bar says; empty while the device is fine.
std::string preListenMessage(const std::string& wanted, const PreListenDeviceState& state);

}  // namespace quillon::app
