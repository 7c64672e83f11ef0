#include "cart/fadetosilence.h"

#include <algorithm>
#include <cmath>

namespace quillon::cart {

void FadeToSilence::start(audio::FrameCount frames, audio::FrameCount waiting) {
  m_end = std::max<audio::FrameCount>(frames, 1);
  m_rampStart = std::clamp<audio::FrameCount>(waiting, 0, m_end - 1);
  m_next = m_rampStart;
}

void FadeToSilence::shape(audio::AudioBlock& block) {
  if (!running()) return;
  const int channels = std::max(block.channels, 1);
  const audio::FrameCount frames = std::clamp<audio::FrameCount>(m_end - m_next, 0, block.frames());
  block.samples.resize(static_cast<std::size_t>(frames * channels));
  const double length = static_cast<double>(m_end - m_rampStart);
  for (audio::FrameCount f = 0; f < frames; ++f) {
    // Full level at the ramp's first frame, falling to reach 0 one frame
    // after the last, so no step is left at either end. Frames fed in place
    // of dropped ones from before the ramp keep the full level.
    const double level = std::min(1.0, static_cast<double>(m_end - (m_next + f)) / length);
    for (int c = 0; c < channels; ++c) {
      auto& s = block.samples[static_cast<std::size_t>(f * channels + c)];
      s = static_cast<std::int16_t>(std::lrint(s * level));
    }
  }
  m_next += frames;
}

void FadeToSilence::dropped(audio::FrameCount frames) {
  if (running()) m_next = std::max<audio::FrameCount>(m_next - frames, 0);
}

}  // namespace quillon::cart
