// The digital time of the studio clock.
#pragma once

#include <string>

namespace quillon::clock {

inline constexpr const char* kTimeBeforeFirstTick = "--:--:--";
inline constexpr const char* kTimeCaption = "Time :";

// "hh:mm:ss", 24-hour.
std::string formatTimeOfDay(int hours, int minutes, int seconds);

}  // namespace quillon::clock
