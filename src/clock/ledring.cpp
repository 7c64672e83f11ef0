#include "clock/ledring.h"

#include <algorithm>
#include <cmath>

namespace quillon::clock {

LedPosition LedRing::position(int led, float panelWidthTwips) {
  const double angle = led * kPi / 30.0;
  return {static_cast<float>(panelWidthTwips / 2.0 + kRadiusTwips * std::sin(angle)),
          static_cast<float>(kCentreTopTwips - kRadiusTwips * std::cos(angle))};
}

void LedRing::set(int i, bool shown, LedColour colour, Changes& changes) {
  Led& led = m_leds[static_cast<std::size_t>(i)];
  const Led wanted{shown, colour};
  if (led == wanted) return;
  led = wanted;
  changes.set(static_cast<std::size_t>(i));
}

LedRing::Changes LedRing::BuildLedRing() {
  Changes changes;
  for (int i = 0; i < kLedCount; ++i) set(i, false, LedColour::Red, changes);
  return changes;
}

LedRing::Changes LedRing::ResetLedRing() {
  Changes changes;
  // LED 0 goes straight to green (not red, then green), so a second tick in
  // second 0 changes nothing.
  show(0, LedColour::Green, changes);
  for (int i = 1; i < kLedCount; ++i) {
    if (isMarker(i)) {
      show(i, LedColour::Red, changes);
    } else {
      hide(i, changes);
    }
  }
  return changes;
}

void LedRing::lightPassed(int second, Changes& changes) {
  for (int i = 0; i <= second; ++i) {
    show(i, isMarker(i) ? LedColour::Green : LedColour::Red, changes);
  }
}

LedRing::Changes LedRing::FillLedRing(int second) {
  Changes changes;
  lightPassed(std::clamp(second, 0, kLedCount - 1), changes);
  show(0, LedColour::Green, changes);
  return changes;
}

LedRing::Changes LedRing::UpdateLedRing(int second) {
  // A leap second (60) shows as the full ring of second 59.
  second = std::clamp(second, 0, kLedCount - 1);
  if (second == 0) return ResetLedRing();
  Changes changes;
  lightPassed(second, changes);
  for (int i = second + 1; i < kLedCount; ++i) {
    if (isMarker(i)) {
      show(i, LedColour::Red, changes);
    } else {
      hide(i, changes);
    }
  }
  show(0, LedColour::Green, changes);
  return changes;
}

}  // namespace quillon::clock
