// Milliseconds and frames at a given rate, in 64-bit arithmetic.
#pragma once

#include <cstdint>

#include "audio/audioformat.h"

namespace quillon::audio {

// Both round toward zero, so a running time never shows a second that has not
// yet been heard. A rate of 0 or less gives 0.
constexpr FrameCount msToFrames(std::int64_t ms, int sampleRate) {
  return sampleRate > 0 ? ms * sampleRate / 1000 : 0;
}
constexpr std::int64_t framesToMs(FrameCount frames, int sampleRate) {
  return sampleRate > 0 ? frames * 1000 / sampleRate : 0;
}

}  // namespace quillon::audio
