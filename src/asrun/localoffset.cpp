#include "asrun/localoffset.h"

#include <ctime>

namespace quillon::asrun {

std::chrono::seconds utcOffsetAt(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  // localtime_r, unlike localtime, shares no buffer with other threads.
  if (::localtime_r(&seconds, &local) == nullptr) return std::chrono::seconds(0);
  return std::chrono::seconds(local.tm_gmtoff);
}

}  // namespace quillon::asrun
