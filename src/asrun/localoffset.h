// The local time's offset from UTC at a given moment, from the system's
// time-zone rules (TZ or /etc/localtime).
#pragma once

#include <chrono>

namespace quillon::asrun {

// Any thread. Zero when the system cannot say.
std::chrono::seconds utcOffsetAt(std::chrono::system_clock::time_point when);

}  // namespace quillon::asrun
