#include "audio/gain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillon::audio {

namespace {

// Rounds half to even (the default rounding mode) and saturates to 16 bits,
// as lrint would, without a library call per sample: adding and taking back
// 1.5 * 2^52 leaves the nearest integer for any |x| below 2^51.
std::int16_t scaleSample(std::int16_t s, double factor) {
  constexpr double kRounder = 6755399441055744.0;
  const double v = (static_cast<double>(s) * factor + kRounder) - kRounder;
  return static_cast<std::int16_t>(std::clamp(v, double{INT16_MIN}, double{INT16_MAX}));
}

// Factors closer than this are the same: no glide between them.
constexpr double kSameFactor = 1e-9;

}  // namespace

double FadeRamp::at(FrameCount frame) const {
  double factor = 1.0;
  if (fadeInFrames > 0 && frame < fadeInFrames) {
    factor =
        static_cast<double>(std::max<FrameCount>(frame, 0)) / static_cast<double>(fadeInFrames);
  }
  if (fadeOutFrames > 0) {
    const FrameCount left = totalFrames - 1 - frame;  // 0 on the last frame
    if (left < fadeOutFrames) {
      factor *=
          static_cast<double>(std::max<FrameCount>(left, 0)) / static_cast<double>(fadeOutFrames);
    }
  }
  return factor;
}

void Gain::applyInPlace(AudioBlock& block, float gain, const FadeRamp& ramp, FrameCount position) {
  const double volume = static_cast<double>(gain) / 100.0 * m_normalisation;
  const bool ramped = !ramp.none() && ramp.totalFrames > 0;
  const FrameCount total = ramp.totalFrames;
  FrameCount frame = ramped ? ((position % total) + total) % total : 0;
  const auto targetAt = [&](FrameCount f) { return ramped ? volume * ramp.at(f) : volume; };

  const FrameCount frames = block.frames();
  const int channels = std::max(block.channels, 1);
  // The step between the last frame scaled and this block's course: 0 while
  // the same volume and ramps go on, since the ramps are continuous.
  const FrameCount previous = ramped ? (frame == 0 ? total - 1 : frame - 1) : 0;
  const double step = m_last ? *m_last - targetAt(previous) : 0.0;
  const FrameCount glide =
      std::abs(step) <= kSameFactor
          ? 0
          : std::min<FrameCount>(frames, std::max(1, block.sampleRate * kGlideMs / 1000));
  std::int16_t* samples = block.samples.data();

  if (!ramped && glide == 0) {
    m_last = volume;
    if (volume == 1.0) return;  // full scale: every sample stays as it is
    for (std::size_t i = 0; i < block.samples.size(); ++i) {
      samples[i] = scaleSample(samples[i], volume);
    }
    return;
  }

  double factor = volume;
  for (FrameCount f = 0; f < frames; ++f) {
    factor = targetAt(frame);
    if (f < glide) {
      // The step closes linearly over the glide, along the new course.
      factor += step * (1.0 - static_cast<double>(f + 1) / static_cast<double>(glide));
    }
    for (int c = 0; c < channels; ++c) {
      const auto i = static_cast<std::size_t>(f * channels + c);
      samples[i] = scaleSample(samples[i], factor);
    }
    if (ramped && ++frame >= total) frame = 0;  // the next pass of a loop
  }
  // The samples of a trailing partial frame take the last factor.
  for (auto i = static_cast<std::size_t>(frames * channels); i < block.samples.size(); ++i) {
    samples[i] = scaleSample(samples[i], factor);
  }
  if (frames > 0) m_last = factor;
}

}  // namespace quillon::audio
