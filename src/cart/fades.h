// The loop and fade rules of a playing cart. Fades last 3 seconds and apply
// only to files of 6 seconds or more; the gains move in whole-second steps
// of a third of the volume. Pure functions.
#pragma once

#include <cstdint>

namespace quillon::cart {

constexpr int kFadeSeconds = 3;
constexpr int kFadeMinimumSeconds = 6;

// `FadeActive` and `FadeGain`.
struct FadeState {
  bool active = false;
  int gain = 0;  // percent
  friend bool operator==(const FadeState&, const FadeState&) = default;
};

// The cart's settings the rules read.
struct FadeSettings {
  std::int64_t lengthSeconds = 0;
  int volume = 100;
  bool fadeInOn = false;
  bool fadeOutOn = false;

  bool fadesApply() const { return lengthSeconds >= kFadeMinimumSeconds; }
};

// Elapsed milliseconds to the whole second the loop and fades go by: the
// nearest, halves to even (9.5 s counts as 10).
std::int64_t nearestSecond(std::int64_t ms);

// The fade state at a start or a loop restart: the cart's volume, or silence
// rising when the fade-in applies. Nothing of an earlier play carries over.
FadeState fadeAtStart(const FadeSettings& settings);

// The fade-out, then the fade-in step for `secs` elapsed.
FadeState fadeStep(FadeState state, std::int64_t secs, const FadeSettings& settings);

// The gain of the next block: the fade gain while a fade runs, else the volume.
int blockGain(const FadeState& state, const FadeSettings& settings);

// A looping file restarts once the nearest elapsed second reaches its length.
// A file shorter than half a second (length 0) restarts only at its end.
bool loopDue(std::int64_t secs, std::int64_t lengthSeconds, bool loopOn);

}  // namespace quillon::cart
