#include "app/prelistenstate.h"

namespace quillon::app {

std::string preListenMessage(const std::string& wanted, const PreListenDeviceState& state) {
  const std::string quoted = "\"" + wanted + "\"";
  if (state.name.empty()) return "Pre-listen is off: no device " + quoted + " in the list";
  if (state.isOutputDevice) {
    return "Pre-listen is off: " + quoted + " is the output device, heard on air";
  }
  if (state.usable) return {};
  if (!state.present) return quoted + " is absent: carts cannot pre-listen";
  return quoted + " failed" + (state.failure.empty() ? "" : ": " + state.failure) +
         "; carts cannot pre-listen";
}

}  // namespace quillon::app
