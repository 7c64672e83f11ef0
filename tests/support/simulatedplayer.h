// A player for tests, with no sound and no device layer behind it: it
// consumes its queue at the format's rate as the scheduler's clock advances
// and raises the events the player contract asks for. On ManualScheduler it
// is the deterministic player of the cart, palette and window tests; the
// program itself always plays through DevicePlayer. UI thread; no other
// thread is involved.
#pragma once

#include <array>
#include <deque>

#include "audio/player.h"
#include "audio/playereventgate.h"
#include "audio/scheduler.h"
#include "support/simulateddevices.h"

namespace quillon::audio {

class SimulatedPlayer : public Player {
 public:
  // Frames are consumed every kServicePeriod; RequestOnLoadArray is raised
  // while less than kQueueTargetMs is waiting and the end is not marked.
  static constexpr std::chrono::milliseconds kServicePeriod{10};
  static constexpr std::chrono::milliseconds kTimerPeriod{50};
  static constexpr int kQueueTargetMs = 300;

  SimulatedPlayer(UiScheduler& scheduler, SimulatedDevices& devices);
  ~SimulatedPlayer() override;

  void setEventHandler(PlayerEvents* handler) override { m_events.setHandler(handler); }
  bool SetFormat(const AudioFormat& format) override;
  int OpenOutput() override;
  int OutputStatus() const override { return m_open ? 0 : -1; }
  bool QueueBlock(AudioBlock block) override;
  void MarkEndOfFile() override { m_endMarked = true; }
  void ResetOutput() override;
  void CloseOutput() override;
  FrameCount PlayedSamples() const override { return m_played; }
  std::vector<std::int16_t> RecentSamples(int count) const override;
  std::int64_t UnderrunCount() const override { return m_underruns; }

  int DeviceCount() const override { return m_devices.count(); }
  void SelectDevice(int device) override;
  int CurrentDevice() const override { return m_device; }
  std::string DeviceName() const override;
  bool DeviceUsable() const override;
  bool DevicePresent() const override;
  void RescanDevices() override { m_devices.rescan(); }
  std::string lastError() const override { return m_error; }

 private:
  friend class SimulatedDevices;
  void deviceFailed(int device, const std::string& reason);
  void service();
  void consume(FrameCount frames);
  void remember(std::int16_t mono);
  void stopTimers();

  UiScheduler& m_scheduler;
  SimulatedDevices& m_devices;
  PlayerEventGate m_events;
  int m_device = 0;
  bool m_open = false;
  std::string m_error;

  std::deque<AudioBlock> m_queue;
  FrameCount m_frontConsumed = 0;  // frames of m_queue.front() already played
  FrameCount m_queued = 0;
  FrameCount m_played = 0;
  bool m_endMarked = false;
  bool m_endRaised = false;
  bool m_dry = false;
  std::int64_t m_underruns = 0;

  std::chrono::nanoseconds m_openedAt{0};
  FrameCount m_clockFrames = 0;  // frames of time elapsed since OpenOutput
  int m_peakLeft = 0;
  int m_peakRight = 0;
  TimerId m_serviceTimer = 0;
  TimerId m_progressTimer = 0;

  static constexpr std::size_t kRecentCapacity = 4096;
  std::array<std::int16_t, kRecentCapacity> m_recent{};
  std::size_t m_recentPos = 0;
};

}  // namespace quillon::audio
