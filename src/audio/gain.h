// The gain: scales a block by the cart's volume and its fade ramps. A cart's
// `AudioTransform`. UI thread.
//
// Volume: a percentage of full scale. Within one continuous play the gain
// remembers the last factor it applied and glides from it to the new one over
// the first few milliseconds of the next block, so a volume step (or a fade
// switched on or off mid-play) never clicks. Restart() forgets that factor: a
// start or a jump begins a new head that must not glide from the old one.
//
// Normalisation: a factor on top of the volume (1 unless the cart's
// loudness is normalised), so the stage scales by normalisation x volume x
// fade and saturates at full scale.
//
// Fades: linear ramps on the file's own time line, frame by frame, so that a
// fade has no stairs, a jump or a pause inside it resumes it at the right
// place, and a loop's every pass gets its ramps.
#pragma once

#include <optional>

#include "audio/audioformat.h"

namespace quillon::audio {

// The fade ramps of one pass of a file, in frames of the file. The factor
// rises from 0 at frame 0 to 1 after fadeInFrames, and falls from 1 to reach
// 0 on the last frame (totalFrames - 1) over fadeOutFrames. 0 frames: no ramp.
struct FadeRamp {
  FrameCount totalFrames = 0;
  FrameCount fadeInFrames = 0;
  FrameCount fadeOutFrames = 0;

  bool none() const { return fadeInFrames <= 0 && fadeOutFrames <= 0; }
  // The factor at `frame` of a pass, 0..1.
  double at(FrameCount frame) const;
};

class Gain {
 public:
  // Length of the glide from the previous factor to the new one.
  static constexpr int kGlideMs = 5;

  // Scales `block` by `gain` percent (100 unchanged, 0 silent) times `ramp`,
  // saturated to 16 bits, its first frame being frame `position` of a pass. Frames past the pass's
  // end go on at frame 0 of the next pass (a loop), as many times as the block holds.
  void applyInPlace(AudioBlock& block, float gain, const FadeRamp& ramp, FrameCount position);

  void Restart() { m_last.reset(); }
  // Applies from the next block on, gliding like a volume step.
  void setNormalisation(double factor) { m_normalisation = factor; }
  double normalisation() const { return m_normalisation; }

 private:
  std::optional<double> m_last;  // the factor of the last frame scaled
  double m_normalisation = 1.0;
};

}  // namespace quillon::audio
