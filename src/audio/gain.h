// The gain: scales a block by a percentage of full scale. A cart's
// `AudioTransform`. UI thread.
//
// Within one continuous play it remembers the last gain it applied and glides
// from it to a new gain over the first few milliseconds of the next block, so
// a volume or fade step never clicks. Restart() forgets that gain: a start, a
// seek or a loop restart begins a new head that must not glide from the old
// one.
#pragma once

#include <optional>

#include "audio/audioformat.h"

namespace quillon::audio {

class Gain {
 public:
  // Length of the glide from the previous gain to the new one.
  static constexpr int kGlideMs = 5;

  // Returns `block` scaled by `gain` percent (100 unchanged, 0 silent),
  // saturated to 16 bits. The two-block, two-gain form of the call is kept
  // for its callers, who pass the same block and gain twice.
  AudioBlock ApplyGain(const AudioBlock& block, float gain);
  AudioBlock ApplyGain(const AudioBlock& block, float gain, const AudioBlock& /*same*/,
                       float /*same*/) {
    return ApplyGain(block, gain);
  }
  // The same, on the block itself: the cart's feed path, which owns the
  // block, saves a copy and an allocation per block.
  void ApplyGainInPlace(AudioBlock& block, float gain);

  void Restart() { m_last.reset(); }

 private:
  std::optional<float> m_last;
};

}  // namespace quillon::audio
