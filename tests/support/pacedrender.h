// The null device paced by its caller: its mixer rendered a period at a time,
// as the device's thread would, the stepped clock moved to each period's end.
// The device's time starts at 1 s (a time of 0 is "never").
#pragma once

#include <functional>
#include <span>

#include "audio/manualscheduler.h"
#include "audio/portaudio/devicemanager.h"

namespace quillon::test {

class PacedRender {
 public:
  PacedRender(audio::ManualScheduler& clock, audio::DeviceManager& devices, int rate = 48000,
              int periodFrames = 256)
      : m_clock(clock), m_devices(devices), m_rate(rate), m_period(periodFrames) {
    m_clock.advance(timeOf(0) - m_clock.now());
  }

  // Renders `duration` of the device; `beforePeriod` runs before each period,
  // `heard` gets what each period played (interleaved stereo). False, with
  // the reason in `error`, when the device gives no stream.
  bool play(std::chrono::milliseconds duration, std::string& error,
            const std::function<void(std::span<const std::int16_t>)>& heard = {},
            const std::function<void()>& beforePeriod = {}) {
    audio::OutputStream* stream = m_devices.stream(0, error);
    if (stream == nullptr) return false;
    std::vector<std::int16_t> out(2 * static_cast<std::size_t>(m_period));
    for (const std::int64_t end = m_frames + duration.count() * m_rate / 1000; m_frames < end;
         m_frames += m_period) {
      if (beforePeriod) beforePeriod();
      stream->mixer().render(out.data(), m_period, 2, timeOf(m_frames).count());
      m_clock.advance(timeOf(m_frames + m_period) - m_clock.now());
      if (heard) heard(out);
    }
    return true;
  }

 private:
  std::chrono::nanoseconds timeOf(std::int64_t frames) const {
    return std::chrono::nanoseconds(1'000'000'000 + frames * 1'000'000'000 / m_rate);
  }

  audio::ManualScheduler& m_clock;
  audio::DeviceManager& m_devices;
  int m_rate;
  int m_period;
  std::int64_t m_frames = 0;
};

}  // namespace quillon::test
