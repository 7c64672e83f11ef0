// Test signals: blocks of a sine at a given rate, and measures of a recorded
// signal (frequency, level). Plain C++.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "audio/audioformat.h"

namespace quillon::test {

// `frames` frames of a sine of `hz` at `rate`, peak `amplitude`, starting at
// phase `phase` (radians) of frame `first`.
inline audio::AudioBlock sineBlock(int rate, int channels, double hz, double amplitude, long first,
                                   int frames, double phase = 0) {
  audio::AudioBlock b;
  b.sampleRate = rate;
  b.channels = channels;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(first + i) / rate;
    const auto s =
        static_cast<std::int16_t>(std::lrint(amplitude * std::sin(2 * M_PI * hz * t + phase)));
    for (int c = 0; c < channels; ++c) b.samples.push_back(s);
  }
  return b;
}

// Frequency from rising zero crossings, interpolated between samples.
inline double frequency(const std::vector<float>& x, int rate) {
  double firstCrossing = -1;
  double lastCrossing = -1;
  int crossings = 0;
  for (std::size_t i = 1; i < x.size(); ++i) {
    if (x[i - 1] < 0 && x[i] >= 0) {
      const double at = static_cast<double>(i - 1) + x[i - 1] / (x[i - 1] - x[i]);
      if (firstCrossing < 0) firstCrossing = at;
      lastCrossing = at;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return (crossings - 1) * rate / (lastCrossing - firstCrossing);
}

inline double rms(const std::vector<float>& x) {
  double sum = 0;
  for (float v : x) sum += static_cast<double>(v) * v;
  return x.empty() ? 0 : std::sqrt(sum / static_cast<double>(x.size()));
}

}  // namespace quillon::test
