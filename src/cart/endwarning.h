// The end-of-cart warning: during the last seconds of a cart that will stop
// at its end, its frame blinks twice a second. The blink is a function of the
// position the running display shows, not of a free-running timer, so a seek
// or a pause moves it with the sound. Pure functions.
#pragma once

#include <cstdint>

namespace quillon::cart {

// Half a blink: the frame is lit for 250 ms, then dark for 250 ms.
constexpr std::int64_t kEndWarningHalfPeriodMs = 250;

// How a host sets the warning up; off until it is switched on.
struct EndWarningRule {
  bool enabled = false;
  int seconds = 5;  // how long before the end the warning starts
};

// Whether the frame is lit with `elapsedMs` of a file of `totalMs` played.
// The warning covers the last `rule.seconds` seconds and starts lit; past the
// end (a display that runs a little past the exact length) it stays lit.
bool endWarningLit(const EndWarningRule& rule, std::int64_t elapsedMs, std::int64_t totalMs);

}  // namespace quillon::cart
