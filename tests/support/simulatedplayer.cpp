#include "support/simulatedplayer.h"

#include <algorithm>
#include <cstdlib>

namespace quillon::audio {

SimulatedPlayer::SimulatedPlayer(UiScheduler& scheduler, SimulatedDevices& devices)
    : m_scheduler(scheduler), m_devices(devices), m_events(scheduler) {
  m_device = std::max(devices.defaultDevice(), 0);
  m_devices.attach(this);
}

SimulatedPlayer::~SimulatedPlayer() {
  stopTimers();
  m_devices.detach(this);
}

bool SimulatedPlayer::SetFormat(const AudioFormat& format) {
  if (!format.valid() || format.channels > 2) {
    m_error = "unsupported format";
    return false;
  }
  m_format = format;
  return true;
}

int SimulatedPlayer::OpenOutput() {
  CloseOutput();
  if (!m_format.valid()) {
    m_error = "no format set";
    return -1;
  }
  if (!DeviceUsable() || m_devices.takeOpenFailure()) {
    m_error = "the output device cannot be opened";
    return -1;
  }
  m_open = true;
  m_openedAt = m_scheduler.now();
  m_clockFrames = 0;
  m_played = 0;
  m_underruns = 0;
  m_dry = false;
  m_events.newGeneration();
  m_serviceTimer = m_scheduler.startRepeating(kServicePeriod, [this] { service(); });
  m_progressTimer = m_scheduler.startRepeating(kTimerPeriod, [this] {
    service();
    if (!m_open) return;
    m_events.raiseTimer(m_played, m_peakLeft, m_peakRight);
    m_peakLeft = m_peakRight = 0;
  });
  return 0;
}

bool SimulatedPlayer::QueueBlock(AudioBlock block) {
  if (!m_open) {
    m_error = "no open output";
    return false;
  }
  if (block.channels != m_format.channels || block.frames() == 0) {
    m_error = "block does not match the format";
    return false;
  }
  m_queued += block.frames();
  m_queue.push_back(std::move(block));
  return true;
}

void SimulatedPlayer::ResetOutput() {
  m_queue.clear();
  m_frontConsumed = 0;
  m_queued = 0;
  m_played = 0;
  m_endMarked = false;
  m_endRaised = false;
  m_dry = false;
  m_events.newGeneration();
}

void SimulatedPlayer::CloseOutput() {
  stopTimers();
  ResetOutput();
  m_open = false;
  m_recent.fill(0);
}

void SimulatedPlayer::stopTimers() {
  if (m_serviceTimer) m_scheduler.stopRepeating(m_serviceTimer);
  if (m_progressTimer) m_scheduler.stopRepeating(m_progressTimer);
  m_serviceTimer = m_progressTimer = 0;
}

void SimulatedPlayer::service() {
  if (!m_open) return;
  // Frames due from the time since the output opened, so that no rounding
  // accumulates over hours.
  const auto elapsed = m_scheduler.now() - m_openedAt;
  const FrameCount due =
      static_cast<FrameCount>(elapsed.count() / 1000 * m_format.sampleRate / 1000000) -
      m_clockFrames;
  if (due > 0) {
    m_clockFrames += due;
    consume(due);
  }
  if (!m_endMarked && m_queued < msToFrames(kQueueTargetMs, m_format.sampleRate)) {
    m_events.raiseRequestOnLoadArray();
  }
}

void SimulatedPlayer::consume(FrameCount frames) {
  const int ch = m_format.channels;
  while (frames > 0) {
    if (m_queue.empty()) {
      if (m_endMarked) {
        if (!m_endRaised) {
          m_endRaised = true;
          m_events.raiseEndPlay();
        }
      } else if (!m_dry) {
        m_dry = true;
        ++m_underruns;
      }
      for (FrameCount i = 0; i < std::min<FrameCount>(frames, kRecentCapacity); ++i) remember(0);
      return;
    }
    m_dry = false;
    const AudioBlock& front = m_queue.front();
    const FrameCount n = std::min(frames, front.frames() - m_frontConsumed);
    for (FrameCount f = m_frontConsumed; f < m_frontConsumed + n; ++f) {
      const auto i = static_cast<std::size_t>(f * ch);
      const int left = front.samples[i];
      const int right = ch > 1 ? front.samples[i + 1] : left;
      m_peakLeft = std::max(m_peakLeft, std::min(std::abs(left), 32767));
      m_peakRight = std::max(m_peakRight, std::min(std::abs(right), 32767));
      remember(static_cast<std::int16_t>((left + right) / 2));
    }
    m_frontConsumed += n;
    m_played += n;
    m_queued -= n;
    frames -= n;
    if (m_frontConsumed == front.frames()) {
      m_queue.pop_front();
      m_frontConsumed = 0;
    }
  }
}

void SimulatedPlayer::remember(std::int16_t mono) {
  m_recent[m_recentPos] = mono;
  m_recentPos = (m_recentPos + 1) % kRecentCapacity;
}

std::vector<std::int16_t> SimulatedPlayer::RecentSamples(int count) const {
  const auto n = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(kRecentCapacity)));
  std::vector<std::int16_t> out(n);
  for (std::size_t k = 0; k < n; ++k) {
    out[k] = m_recent[(m_recentPos + kRecentCapacity - n + k) % kRecentCapacity];
  }
  return out;
}

void SimulatedPlayer::SelectDevice(int device) { m_device = device; }

std::string SimulatedPlayer::DeviceName() const {
  const auto info = m_devices.device(m_device);
  return info ? info->name : std::string();
}

bool SimulatedPlayer::DeviceUsable() const {
  const auto info = m_devices.device(m_device);
  return info && info->usable;
}

bool SimulatedPlayer::DevicePresent() const {
  const auto info = m_devices.device(m_device);
  return info && info->present;
}

void SimulatedPlayer::deviceFailed(int device, const std::string& reason) {
  if (device != m_device) return;
  if (m_open) CloseOutput();
  m_error = reason;
  m_events.raiseDeviceFailed(reason);
}

}  // namespace quillon::audio
