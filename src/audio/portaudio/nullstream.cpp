#include "audio/portaudio/nullstream.h"

namespace quillon::audio {

NullStream::NullStream(int sampleRate, int periodFrames, Pacing pacing)
    : m_mixer(sampleRate),
      m_periodFrames(periodFrames),
      m_buffer(static_cast<std::size_t>(periodFrames) * 2) {
  if (pacing == Pacing::ClockThread) m_thread = std::thread([this] { run(); });
}

NullStream::~NullStream() { close(); }

void NullStream::close() noexcept {
  m_stop.store(true, std::memory_order_relaxed);
  if (m_thread.joinable()) m_thread.join();
}

// clock thread
void NullStream::run() {
  using Clock = std::chrono::steady_clock;
  const auto period =
      std::chrono::nanoseconds(std::int64_t{1000000000} * m_periodFrames / m_mixer.sampleRate());
  auto next = Clock::now();
  while (!m_stop.load(std::memory_order_relaxed)) {
    m_mixer.render(m_buffer.data(), m_periodFrames, 2, steadyNowNs());
    next += period;
    const auto now = Clock::now();
    // After a long suspension, go on from now rather than racing to catch up.
    if (now - next > 10 * period) next = now;
    std::this_thread::sleep_until(next);
  }
}

}  // namespace quillon::audio
