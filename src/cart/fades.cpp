#include "cart/fades.h"

#include "common/rounding.h"

namespace quillon::cart {

std::int64_t nearestSecond(std::int64_t ms) {
  return roundHalfEven(static_cast<double>(ms) / 1000.0);
}

FadeState fadeAtStart(const FadeSettings& settings) {
  if (settings.fadeInOn && settings.fadesApply()) return {true, 0};
  return {false, settings.volume};
}

FadeState fadeStep(FadeState state, std::int64_t secs, const FadeSettings& settings) {
  if (!settings.fadesApply()) return state;
  const std::int64_t length = settings.lengthSeconds;
  const double volume = settings.volume;
  bool inFadeOut = false;
  if (settings.fadeOutOn) {
    if (secs >= length - kFadeSeconds) {
      inFadeOut = true;
      if (secs > length) {
        state.gain = 0;
      } else {
        state.active = true;
        const double done = static_cast<double>(secs - (length - kFadeSeconds)) / kFadeSeconds;
        state.gain = static_cast<int>(roundHalfEven(volume - done * volume));
      }
    } else {
      state = {false, settings.volume};
    }
  }
  if (settings.fadeInOn) {
    if (secs <= kFadeSeconds) {
      state.active = true;
      state.gain =
          static_cast<int>(roundHalfEven(volume / kFadeSeconds * static_cast<double>(secs)));
    } else if (!inFadeOut) {
      state = {false, settings.volume};
    }
  }
  return state;
}

int blockGain(const FadeState& state, const FadeSettings& settings) {
  const bool fading =
      settings.fadesApply() && state.active && (settings.fadeInOn || settings.fadeOutOn);
  return fading ? state.gain : settings.volume;
}

bool loopDue(std::int64_t secs, std::int64_t lengthSeconds, bool loopOn) {
  return loopOn && lengthSeconds > 0 && secs >= lengthSeconds;
}

}  // namespace quillon::cart
