#include "audio/gain.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace quillon::audio {

namespace {

std::int16_t scaleSample(std::int16_t s, double factor) {
  // lrint rounds halves to even under the default rounding mode.
  const long v = std::lrint(s * factor);
  return static_cast<std::int16_t>(std::clamp<long>(v, INT16_MIN, INT16_MAX));
}

}  // namespace

AudioBlock Gain::ApplyGain(const AudioBlock& block, float gain) {
  AudioBlock out;
  out.channels = block.channels;
  out.sampleRate = block.sampleRate;
  out.samples.resize(block.samples.size());

  const double target = static_cast<double>(gain) / 100.0;
  const double start = m_last ? static_cast<double>(*m_last) / 100.0 : target;
  const FrameCount frames = block.frames();
  const int channels = std::max(block.channels, 1);
  const FrameCount glide =
      start == target ? 0
                      : std::min<FrameCount>(frames, std::max(1, block.sampleRate * kGlideMs / 1000));

  for (FrameCount f = 0; f < frames; ++f) {
    // Linear from the previous gain to the new one, reached at the glide's end.
    const double factor =
        f < glide ? start + (target - start) * static_cast<double>(f + 1) / static_cast<double>(glide)
                  : target;
    for (int c = 0; c < channels; ++c) {
      const auto i = static_cast<std::size_t>(f * channels + c);
      out.samples[i] = scaleSample(block.samples[i], factor);
    }
  }
  // Samples of a trailing partial frame, if any, take the target gain.
  for (std::size_t i = static_cast<std::size_t>(frames * channels); i < block.samples.size(); ++i) {
    out.samples[i] = scaleSample(block.samples[i], target);
  }
  m_last = gain;
  return out;
}

}  // namespace quillon::audio
