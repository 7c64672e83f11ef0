#include "e2e/listener.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "e2e/desktop.h"

namespace quillon::test {

namespace {

double toneAmplitude(const std::vector<float>& x, int rate, double hz) {
  if (x.size() < 2) return 0;
  // Goertzel at the exact frequency (not a bin's), on a Hann window, so
  // other carts' tones nearby leak little into the one measured.
  const double n = static_cast<double>(x.size());
  const double w = 2 * M_PI * hz / rate;
  const double coefficient = 2 * std::cos(w);
  double s1 = 0;
  double s2 = 0;
  double windowSum = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double hann = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(i) / (n - 1));
    windowSum += hann;
    const double s = x[i] * hann + coefficient * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  const double real = s1 - s2 * std::cos(w);
  const double imaginary = s2 * std::sin(w);
  return 2 * std::hypot(real, imaginary) / windowSum;
}

}  // namespace

double peak(const std::vector<float>& x) {
  double p = 0;
  for (float v : x) p = std::max(p, static_cast<double>(std::fabs(v)));
  return p;
}

bool Listener::connect(const std::string& source, int boundMs, std::string& error) {
  return pollUntil([&] { return m_recorder->connectFrom(source, error); }, boundMs);
}

bool Listener::connectToPair(const std::string& left, const std::string& right, int boundMs,
                             std::string& error) {
  return pollUntil([&] { return m_recorder->connectFromFeedersOf(left, right, error); }, boundMs);
}

double Listener::amplitudeAt(double hz, long end) const {
  return toneAmplitude(frames(end - kWindow, end), rate(), hz);
}

long Listener::waitForWindow(const std::function<bool(long end)>& holds, int boundMs) const {
  long end = -1;
  const bool held = pollUntil(
      [&] {
        end = position();
        return end >= kWindow && holds(end);
      },
      boundMs, 20);
  return held ? end : -1;
}

bool Listener::waitFor(long count, int boundMs) const {
  const long target = position() + count;
  return pollUntil([&] { return position() >= target; }, boundMs, 10);
}

bool Listener::saveRaw(const std::string& path) const {
  const std::vector<float> all = frames(0, position());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(all.data(), sizeof(float), all.size(), file) == all.size();
  return std::fclose(file) == 0 && written;
}

bool Listener::keptSounding(double hz, double amplitude, long from, long to,
                            std::string& why) const {
  long gapStart = -1;  // the first quiet window, in windows from `from`
  long gapEnd = -1;
  long last = -1;
  for (long end = from + kWindow; end <= to; end += kWindow) {
    const long window = (end - from) / kWindow - 1;
    last = window;
    if (glitchNear(end - kWindow, end)) continue;
    if (amplitudeAt(hz, end) >= 0.75 * amplitude) continue;
    if (gapStart < 0) gapStart = window;
    if (window > gapEnd + 1 && gapEnd >= 0) {
      why = "quiet twice, " + std::to_string(gapStart * 100) + " and " +
            std::to_string(window * 100) + " ms in";
      return false;
    }
    gapEnd = window;
    if (gapEnd - gapStart >= 2) {
      why = "quiet for 300 ms from " + std::to_string(gapStart * 100) + " ms in";
      return false;
    }
  }
  if (gapEnd >= 0 && gapEnd == last) {
    why = "quiet at the end, " + std::to_string(last * 100) + " ms in";
    return false;
  }
  return true;
}

bool Listener::glitchNear(long from, long to) const {
  // An xrun is reported a little after the damage; look a window further.
  for (long g : m_recorder->glitches()) {
    if (g >= from && g < to + kWindow) return true;
  }
  return false;
}

}  // namespace quillon::test
