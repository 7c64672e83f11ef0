#include "cart/endwarning.h"

#include <algorithm>

namespace quillon::cart {

bool endWarningLit(const EndWarningRule& rule, std::int64_t elapsedMs, std::int64_t totalMs) {
  if (!rule.enabled || rule.seconds <= 0 || totalMs <= 0) return false;
  const std::int64_t remaining = std::max<std::int64_t>(totalMs - elapsedMs, 0);
  if (remaining > std::int64_t{rule.seconds} * 1000) return false;
  // Counted back from the end in quarter seconds: lit in the first quarter of
  // every half second of the warning (the warning starts on a whole second,
  // an even number of quarters before the end).
  const std::int64_t quarters = (remaining + kEndWarningHalfPeriodMs - 1) / kEndWarningHalfPeriodMs;
  return quarters % 2 == 0;
}

}  // namespace quillon::cart
