#include "cart/displayvalues.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/rounding.h"

namespace quillon::cart {

namespace {

std::string minutesAndSeconds(std::int64_t minutes, std::int64_t seconds) {
  char text[48];
  std::snprintf(text, sizeof text, "%02lld:%02lld", static_cast<long long>(minutes),
                static_cast<long long>(seconds));
  return text;
}

// The trace's full-scale divisors and negative clamp: with them y stays
// within 0 to 32 for every 16-bit sample.
constexpr double kPositiveFullScale = 32667.0;
constexpr double kNegativeFullScale = 32668.0;
constexpr int kNegativeClamp = -32665;

}  // namespace

std::string runningTimeText(std::int64_t ms) {
  const std::int64_t clamped = std::max<std::int64_t>(ms, 0);
  const std::int64_t minutes = clamped / 60000;
  const std::int64_t seconds = clamped / 1000 - 60 * minutes;
  return minutesAndSeconds(minutes, seconds);
}

std::string timeLeftText(std::int64_t leftMs) {
  const std::int64_t s = (std::max<std::int64_t>(leftMs, 0) + 999) / 1000;
  const std::int64_t seconds = s % 60;
  return std::to_string(s / 60) + (seconds < 10 ? ":0" : ":") + std::to_string(seconds);
}

std::string countdownText(std::int64_t leftMs) { return "-" + timeLeftText(leftMs); }

std::string lengthText(std::int64_t durationMs) {
  const std::int64_t s = std::max<std::int64_t>(roundHalfEven(durationMs / 1000.0), 0);
  const std::int64_t minutes = s / 60;
  return minutesAndSeconds(minutes, s - 60 * minutes);
}

std::int64_t lengthSecondsOf(audio::FrameCount frames, int sampleRate) {
  if (sampleRate <= 0) return 0;
  const std::int64_t ms =
      roundHalfEven(static_cast<double>(frames) / static_cast<double>(sampleRate) * 1000.0);
  return roundHalfEven(static_cast<double>(ms) / 1000.0);
}

int traceY(int sample) {
  const double middle = geometry::kTraceMiddle;
  if (sample < 0) {
    const int s = std::max(sample, kNegativeClamp);
    return static_cast<int>(roundHalfEven(middle + middle * std::abs(s) / kNegativeFullScale));
  }
  return static_cast<int>(roundHalfEven(middle - middle * sample / kPositiveFullScale));
}

std::vector<int> tracePoints(const std::vector<std::int16_t>& samples) {
  std::vector<int> points;
  points.reserve(samples.size());
  for (const std::int16_t s : samples) points.push_back(traceY(s));
  return points;
}

Twips thumbLeftFor(audio::FrameCount elapsed, audio::FrameCount total) {
  if (total <= 0) return 0;
  const double fraction =
      std::clamp(static_cast<double>(elapsed) / static_cast<double>(total) * 100.0, 0.0, 100.0);
  return static_cast<Twips>(fraction * geometry::thumbTravel() / 100.0);
}

}  // namespace quillon::cart
