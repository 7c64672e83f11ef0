// The values a cart shows, computed from counts: running time, length, the
// signal trace and the thumb's place while playing. Pure functions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audioformat.h"
#include "cart/cartgeometry.h"

namespace quillon::cart {

// Shown by the length display when the bound file cannot be analysed.
constexpr const char* kUnknownLength = "--:--";

// The running time: whole minutes and whole seconds, each rounded down, at
// least two digits each ("00:59", "100:00").
std::string runningTimeText(std::int64_t ms);

// The time left, counting down: whole seconds rounded up, so that it reads
// 0:00 only at the end, and running time plus time left make the length;
// minutes unpadded ("0:07", "12:34"). Below 0 reads as 0.
std::string timeLeftText(std::int64_t leftMs);
// The running time counting down: the time left after a minus ("-0:07").
std::string countdownText(std::int64_t leftMs);

// The length: the duration rounded to the nearest second (halves to even),
// then minutes and seconds, at least two digits each ("02:06").
std::string lengthText(std::int64_t durationMs);

// A file's length in whole seconds: frames / rate in milliseconds rounded,
// then in seconds rounded, both to the nearest with halves to even. Drives the
// loop and the fades. A rate of 0 or less gives 0.
std::int64_t lengthSecondsOf(audio::FrameCount frames, int sampleRate);

// The trace's y for one sample: 16 for silence, 0 at full positive scale, 32
// at full negative scale.
int traceY(int sample);

// The trace through the given samples, one point per sample.
std::vector<int> tracePoints(const std::vector<std::int16_t>& samples);

// The thumb's left edge for the elapsed frames of a file, at most the right
// end of its travel.
Twips thumbLeftFor(audio::FrameCount elapsed, audio::FrameCount total);

}  // namespace quillon::cart
