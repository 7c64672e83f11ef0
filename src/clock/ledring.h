// The studio clock's ring of 60 second LEDs, as plain state: where each LED
// stands and what it shows at a given second. The view draws what this says
// and repaints only the LEDs whose state changed. UI thread.
#pragma once

#include <array>
#include <bitset>

namespace quillon::clock {

enum class LedColour { Red, Green };

struct Led {
  bool shown = false;
  LedColour colour = LedColour::Red;
  friend bool operator==(const Led&, const Led&) = default;
};

struct LedPosition {
  float left = 0;  // twips, the LED image's top-left corner
  float top = 0;
};

class LedRing {
 public:
  static constexpr int kLedCount = 60;
  static constexpr double kRadiusTwips = 1300.0;
  static constexpr double kCentreTopTwips = 1620.0;
  static constexpr double kPi = 3.141592654;  // as the ring was designed

  using Changes = std::bitset<kLedCount>;

  // LED i's corner on the circle around (panelWidth / 2, 1620 twips).
  static LedPosition position(int led, float panelWidthTwips);
  static bool isMarker(int led) { return led % 5 == 0; }

  // Every LED hidden and red: the ring as it is built.
  Changes BuildLedRing();
  // The second-0 state: the twelve markers shown in red, LED 0 green.
  Changes ResetLedRing();
  // Catches up with `second` after ResetLedRing.
  Changes FillLedRing(int second);
  // The whole ring for `second`, derived afresh.
  Changes UpdateLedRing(int second);

  const Led& led(int i) const { return m_leds[static_cast<std::size_t>(i)]; }

 private:
  // Sets LED i, recording a change only where it differs.
  void set(int i, bool shown, LedColour colour, Changes& changes);
  void show(int i, LedColour colour, Changes& changes) { set(i, true, colour, changes); }
  void hide(int i, Changes& changes) { set(i, false, led(i).colour, changes); }
  void lightPassed(int second, Changes& changes);

  std::array<Led, kLedCount> m_leds{};
};

}  // namespace quillon::clock
