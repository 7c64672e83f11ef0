#include "cart/fades.h"

#include "common/rounding.h"

namespace quillon::cart {

audio::FadeRamp fadeRampFor(const FadeSettings& settings, audio::FrameCount totalFrames,
                            int sampleRate) {
  audio::FadeRamp ramp;
  ramp.totalFrames = totalFrames;
  if (!settings.fadesApply() || sampleRate <= 0) return ramp;
  const audio::FrameCount fadeFrames = audio::FrameCount{kFadeSeconds} * sampleRate;
  if (settings.fadeInOn) ramp.fadeInFrames = fadeFrames;
  if (settings.fadeOutOn) ramp.fadeOutFrames = fadeFrames;
  return ramp;
}

FadeState fadeAt(const FadeSettings& settings, const audio::FadeRamp& ramp,
                 audio::FrameCount frame) {
  const bool inFadeIn = ramp.fadeInFrames > 0 && frame <= ramp.fadeInFrames;
  const bool inFadeOut =
      ramp.fadeOutFrames > 0 && frame >= ramp.totalFrames - 1 - ramp.fadeOutFrames;
  if (!inFadeIn && !inFadeOut) return {false, settings.volume};
  const double gain = settings.volume * ramp.at(frame);
  return {true, static_cast<int>(roundHalfEven(gain))};
}

}  // namespace quillon::cart
