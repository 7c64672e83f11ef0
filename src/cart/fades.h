// The fade rules of a playing cart. Fades last 3 seconds and apply only to
// files of 6 seconds or more; they are linear ramps on the file's time line:
// the fade-in rises from silence at the file's first frame to the cart's
// volume 3 s later, the fade-out falls from the volume to silence on the
// file's last frame. At whole seconds they pass the thirds of the volume.
// Pure functions.
#pragma once

#include <cstdint>

#include "audio/gain.h"

namespace quillon::cart {

constexpr int kFadeSeconds = 3;
constexpr int kFadeMinimumSeconds = 6;

// `FadeActive` and `FadeGain`: whether a fade shapes the sound at a place,
// and the gain in percent it gives there.
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

// The ramps of a file of `totalFrames` at `sampleRate` under these settings.
audio::FadeRamp fadeRampFor(const FadeSettings& settings, audio::FrameCount totalFrames,
                            int sampleRate);

// The fade at `frame` of the file: active inside a ramp, with the volume
// scaled by the ramp rounded to the nearest percent (halves to even).
FadeState fadeAt(const FadeSettings& settings, const audio::FadeRamp& ramp,
                 audio::FrameCount frame);

}  // namespace quillon::cart
