// The player on an output device: a voice of the device's mixer while the
// output is open. OpenOutput, ResetOutput and CloseOutput switch the voice,
// never the device's stream, so a start never waits for a device (except the
// very first on a device, which opens its stream). UI thread.
//
// Counting: PlayedSamples is the number of the file's frames that the device
// has consumed: device frames mixed, mapped back to the file's rate (frame k
// at the device's rate is file time k / deviceRate, since the resampler's
// output is aligned with its input), and exactly the frames queued once the
// end has played. The fade-in is counted (its frames are the file's, heard
// rising); the fade-out after a reset, a close or a pause is not (the count
// restarted at the call, as the caller expects), so a pause counts what was
// heard at full level up to the call, and the resumed play counts from 0.
//
// Conversion: blocks are converted to the device's format on the device
// manager's conversion thread when it has one, and queued at the voice by the
// service timer; the first block of a play, and a block fed while less than
// kConvertHereBelowMs waits at the device, are converted and queued at once.
// So a play starts with its first two 100 ms blocks at the device: a busy UI
// thread right after a start has as long before an underrun as later on. In
// a steady play the request comes with more than kConvertHereBelowMs
// waiting, and the block goes to the thread.
//
// Queue depth: RequestOnLoadArray is raised while less than kQueueTargetMs of
// sound is queued (waiting at the device or for conversion). The service
// timer looks every kServicePeriod, so a request is raised with at least
// kQueueTargetMs - kServicePeriod - one device period still queued: the UI
// thread may stall that long without an underrun. A new gain reaches the
// sound with the next block fed, which plays after everything queued before
// it: at most kQueueTargetMs plus one 100 ms block, plus the device's own
// latency.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "audio/player.h"
#include "audio/playereventgate.h"
#include "audio/portaudio/conversionthread.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class DevicePlayer : public Player {
 public:
  static constexpr std::chrono::milliseconds kServicePeriod{10};
  static constexpr std::chrono::milliseconds kTimerPeriod{50};
  static constexpr int kQueueTargetMs = 180;
  static constexpr int kConvertHereBelowMs = 120;

  DevicePlayer(UiScheduler& scheduler, DeviceManager& devices);
  ~DevicePlayer() override;

  void setEventHandler(PlayerEvents* handler) override { m_events.setHandler(handler); }
  bool SetFormat(const AudioFormat& format) override;
  int OpenOutput() override;
  int OutputStatus() const override { return m_voice != nullptr ? 0 : -1; }
  bool QueueBlock(AudioBlock block) override;
  void MarkEndOfFile() override;
  void ResetOutput() override;
  void CloseOutput() override;
  FrameCount PlayedSamples() const override;
  std::vector<std::int16_t> RecentSamples(int count) const override;
  std::int64_t UnderrunCount() const override;

  int DeviceCount() const override { return m_devices.count(); }
  void SelectDevice(int device) override;
  int CurrentDevice() const override { return m_device; }
  std::string DeviceName() const override;
  bool DeviceUsable() const override;
  bool DevicePresent() const override;
  void RescanDevices() override;
  std::string lastError() const override { return m_error; }

  // Device frames queued and not yet mixed.
  FrameCount queuedDeviceFrames() const;
  // The device's rate while the output is open; 0 otherwise.
  int deviceRate() const { return m_deviceRate; }
  // Steady-clock time (ns) at which the device mixed the first frame of the
  // current play; 0 before. For latency measurements.
  std::int64_t firstFrameTime() const;

 private:
  friend class DeviceManager;
  void deviceFailed(int device, const std::string& reason);
  void service();
  void restartCounts();
  // Queues the converted blocks at the voice while it has room.
  void queueConverted();
  // Less than kConvertHereBelowMs waits at the device: convert at once.
  bool deviceRunningLow() const;
  void stopTimers();

  UiScheduler& m_scheduler;
  DeviceManager& m_devices;
  PlayerEventGate m_events;
  int m_device = 0;
  std::string m_error;

  OutputStream* m_stream = nullptr;
  Voice* m_voice = nullptr;  // non-null while the output is open
  std::uint32_t m_epoch = 0;
  int m_deviceRate = 0;
  ConversionLane m_conversion;

  FrameCount m_fileQueued = 0;    // file frames queued in this play
  FrameCount m_deviceQueued = 0;  // device frames queued at the voice in this play
  bool m_endMarked = false;
  bool m_endRaised = false;
  std::int64_t m_underrunBase = 0;
  std::uint64_t m_recentSince = 0;
  TimerId m_serviceTimer = 0;
  TimerId m_progressTimer = 0;
};

}  // namespace quillon::audio
