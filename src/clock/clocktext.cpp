#include "clock/clocktext.h"

#include <cstdio>

namespace quillon::clock {

std::string formatTimeOfDay(int hours, int minutes, int seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
  return text;
}

}  // namespace quillon::clock
