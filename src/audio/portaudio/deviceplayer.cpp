#include "audio/portaudio/deviceplayer.h"

#include <algorithm>

namespace quillon::audio {

DevicePlayer::DevicePlayer(UiScheduler& scheduler, DeviceManager& devices)
    : m_scheduler(scheduler),
      m_devices(devices),
      m_events(scheduler),
      m_conversion(devices.conversionThread()) {
  m_device = std::max(devices.defaultDevice(), 0);
  m_devices.attach(this);
}

DevicePlayer::~DevicePlayer() {
  CloseOutput();
  m_devices.detach(this);
}

bool DevicePlayer::SetFormat(const AudioFormat& format) {
  if (!format.valid() || format.channels > 2) {
    m_error = "unsupported format";
    return false;
  }
  m_format = format;
  return true;
}

int DevicePlayer::OpenOutput() {
  CloseOutput();
  if (!m_format.valid()) {
    m_error = "no format set";
    return -1;
  }
  OutputStream* stream = m_devices.stream(m_device, m_error);
  if (stream == nullptr) return -1;
  if (!m_conversion.configure(m_format, stream->mixer().sampleRate(), m_error)) return -1;
  Voice* voice = stream->mixer().claimVoice();
  if (voice == nullptr) {
    m_error = "too many players on this device";
    return -1;
  }
  m_stream = stream;
  m_voice = voice;
  m_deviceRate = stream->mixer().sampleRate();
  m_epoch = m_voice->command(true);
  m_underrunBase = m_voice->underruns();
  m_recentSince = m_voice->recentWritten();
  restartCounts();
  m_serviceTimer = m_scheduler.startRepeating(kServicePeriod, [this] { service(); });
  m_progressTimer = m_scheduler.startRepeating(kTimerPeriod, [this] {
    service();
    if (m_voice == nullptr) return;
    const auto [left, right] = m_voice->takePeaks();
    m_events.raiseTimer(PlayedSamples(), left, right);
  });
  return 0;
}

bool DevicePlayer::QueueBlock(AudioBlock block) {
  if (m_voice == nullptr) {
    m_error = "no open output";
    return false;
  }
  if (block.channels != m_format.channels || block.frames() == 0) {
    m_error = "block does not match the format";
    return false;
  }
  if (m_voice->full() || m_conversion.full()) {
    m_error = "the output queue is full";
    return false;
  }
  const bool here = m_fileQueued == 0 || deviceRunningLow();
  m_fileQueued += block.frames();
  m_conversion.submit(std::move(block), here);
  queueConverted();
  // A block that failed on the conversion thread is reported with the next one.
  if (std::string error = m_conversion.takeError(); !error.empty()) {
    m_error = "cannot convert to the device's format: " + error;
    return false;
  }
  return true;
}

void DevicePlayer::queueConverted() {
  while (!m_voice->full()) {
    auto block = m_conversion.take();
    if (block == nullptr) return;
    m_deviceQueued += block->frames();
    m_voice->push(std::move(block));
  }
}

void DevicePlayer::MarkEndOfFile() {
  if (m_voice == nullptr || m_endMarked) return;
  m_endMarked = true;
  m_conversion.submitEnd(deviceRunningLow());
  queueConverted();
}

void DevicePlayer::ResetOutput() {
  if (m_voice != nullptr) {
    m_epoch = m_voice->command(true);
    std::string error;
    if (!m_conversion.reset(error)) m_error = error;
  }
  restartCounts();
}

void DevicePlayer::CloseOutput() {
  stopTimers();
  if (m_voice != nullptr) {
    m_voice->command(false);
    m_stream->mixer().releaseVoice(m_voice);
    std::string ignored;  // the next OpenOutput sets the conversion up again
    m_conversion.reset(ignored);
  }
  m_voice = nullptr;
  m_stream = nullptr;
  m_deviceRate = 0;
  restartCounts();
}

void DevicePlayer::restartCounts() {
  m_fileQueued = 0;
  m_deviceQueued = 0;
  m_endMarked = m_endRaised = false;
  m_events.newGeneration();
}

void DevicePlayer::stopTimers() {
  if (m_serviceTimer != 0) m_scheduler.stopRepeating(m_serviceTimer);
  if (m_progressTimer != 0) m_scheduler.stopRepeating(m_progressTimer);
  m_serviceTimer = m_progressTimer = 0;
}

void DevicePlayer::service() {
  if (m_voice == nullptr) return;
  queueConverted();
  if (m_voice->progress(m_epoch).ended && !m_endRaised) {
    m_endRaised = true;
    m_events.raiseEndPlay();
  }
  // Counted in the file's frames, so that blocks still being converted count.
  const FrameCount target = msToFrames(kQueueTargetMs, m_format.sampleRate);
  if (!m_endMarked && m_fileQueued - PlayedSamples() < target) {
    m_events.raiseRequestOnLoadArray();
  }
}

FrameCount DevicePlayer::PlayedSamples() const {
  if (m_voice == nullptr) return 0;
  const Voice::Progress progress = m_voice->progress(m_epoch);
  if (progress.ended) return m_fileQueued;
  const FrameCount played = progress.frames * m_format.sampleRate / m_deviceRate;
  return std::min(played, m_fileQueued);
}

bool DevicePlayer::deviceRunningLow() const {
  return queuedDeviceFrames() < msToFrames(kConvertHereBelowMs, m_deviceRate);
}

FrameCount DevicePlayer::queuedDeviceFrames() const {
  if (m_voice == nullptr) return 0;
  return m_deviceQueued - m_voice->progress(m_epoch).frames;
}

std::int64_t DevicePlayer::firstFrameTime() const {
  return m_voice != nullptr ? m_voice->firstFrameTime() : 0;
}

std::vector<std::int16_t> DevicePlayer::RecentSamples(int count) const {
  if (m_voice == nullptr)
    return std::vector<std::int16_t>(static_cast<std::size_t>(std::max(count, 0)));
  return m_voice->recent(count, m_recentSince);
}

std::int64_t DevicePlayer::UnderrunCount() const {
  return m_voice != nullptr ? m_voice->underruns() - m_underrunBase : 0;
}

void DevicePlayer::SelectDevice(int device) {
  if (device != m_device) CloseOutput();
  m_device = device;
}

std::string DevicePlayer::DeviceName() const {
  const auto info = m_devices.device(m_device);
  return info ? info->name : std::string();
}

bool DevicePlayer::DeviceUsable() const {
  const auto info = m_devices.device(m_device);
  return info && info->usable;
}

bool DevicePlayer::DevicePresent() const {
  const auto info = m_devices.device(m_device);
  return info && info->present;
}

void DevicePlayer::RescanDevices() {
  m_devices.rescan();
  if (!m_devices.lastError().empty()) m_error = m_devices.lastError();
}

void DevicePlayer::deviceFailed(int device, const std::string& reason) {
  if (device != m_device) return;
  if (m_voice != nullptr) {
    // The voice goes with its mixer, which is being closed: leave it.
    stopTimers();
    m_voice = nullptr;
    m_stream = nullptr;
    m_deviceRate = 0;
    std::string ignored;
    m_conversion.reset(ignored);
    restartCounts();
  }
  m_error = reason;
  // Told whether or not it plays: the window shows a failure while nothing
  // plays, and a cart that is not playing has nothing to stop.
  m_events.raiseDeviceFailed(reason);
}

}  // namespace quillon::audio
