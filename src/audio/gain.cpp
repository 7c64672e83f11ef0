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

}  // namespace

AudioBlock Gain::ApplyGain(const AudioBlock& block, float gain) {
  AudioBlock out = block;
  ApplyGainInPlace(out, gain);
  return out;
}

void Gain::ApplyGainInPlace(AudioBlock& block, float gain) {
  const double target = static_cast<double>(gain) / 100.0;
  const double start = m_last ? static_cast<double>(*m_last) / 100.0 : target;
  m_last = gain;
  const FrameCount frames = block.frames();
  const int channels = std::max(block.channels, 1);
  const FrameCount glide =
      start == target
          ? 0
          : std::min<FrameCount>(frames, std::max(1, block.sampleRate * kGlideMs / 1000));
  std::int16_t* samples = block.samples.data();

  for (FrameCount f = 0; f < glide; ++f) {
    // Linear from the previous gain to the new one, reached at the glide's end.
    const double factor =
        start + (target - start) * static_cast<double>(f + 1) / static_cast<double>(glide);
    for (int c = 0; c < channels; ++c) {
      const auto i = static_cast<std::size_t>(f * channels + c);
      samples[i] = scaleSample(samples[i], factor);
    }
  }
  // The rest, and the samples of a trailing partial frame, take the target.
  if (target == 1.0) return;  // full scale: every sample stays as it is
  const std::size_t from = static_cast<std::size_t>(glide * channels);
  for (std::size_t i = from; i < block.samples.size(); ++i) {
    samples[i] = scaleSample(samples[i], target);
  }
}

}  // namespace quillon::audio
