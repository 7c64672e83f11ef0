// The process's output devices: a JACK server's playback ports (JackBackend),
// PortAudio's devices (PortAudioBackend), or the null device when there is
// none. A device is its back end and its name; its number is given when it is
// first seen and kept for the process's life, so a reading of the list that
// finds devices gone or new never renumbers the others, a device that goes
// keeps its number (not usable, "absent"), and a device that returns is the
// same number again: whoever chose it plays to it again.
//
// Each device's stream is opened on first use and kept open, shared by every
// player on it through its mixer. A watchdog on the UI thread notices a device
// that fails (its stream stops, reports an error or its callbacks stop
// arriving) and tells every player; the stream is then closed off the UI
// thread (DeviceCloser), so nothing is left behind however often it happens.
//
// It outlives every DevicePlayer made on it. UI thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "audio/devicecatalog.h"
#include "audio/portaudio/conversionthread.h"
#include "audio/portaudio/devicecloser.h"
#include "audio/portaudio/outputbackend.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class DevicePlayer;

class DeviceManager : public DeviceCatalog {
 public:
  static constexpr const char* kNullDeviceName = "No sound card (silent output)";
  // How long a reading of the list waits for idle streams it closed so that
  // PortAudio can read its devices again.
  static constexpr std::chrono::milliseconds kRelistWait{500};

  struct Options {
    // False: the null device alone, no sound system touched (tests, soaks).
    bool useSystemDevices = true;
    // Open the default device's stream at once, so the first cart fired
    // does not wait for it.
    bool openDefaultAtStart = false;
    int nullRate = 48000;
    int nullPeriodFrames = 256;
    // True: the null device has no clock thread; its owner renders its
    // mixer (soaks on a stepped clock).
    bool nullPacedByCaller = false;
    // True: the players' blocks are converted to the device's format on a
    // thread of the manager's (the program). False: on the UI thread as they
    // are queued, so that a test stepping the clock by hand sees every block
    // at the device at once.
    bool convertOnThread = false;
    // How often the watchdog looks, and how long without a callback counts
    // as a failed device once its first callback has come.
    std::chrono::milliseconds watchdogPeriod{20};
    std::chrono::milliseconds stallLimit{500};
  };

  // On the system's back ends (JACK first, then PortAudio) unless
  // `useSystemDevices` is off.
  DeviceManager(UiScheduler& scheduler, Options options);
  explicit DeviceManager(UiScheduler& scheduler) : DeviceManager(scheduler, Options{}) {}
  // On the given back ends (tests).
  DeviceManager(UiScheduler& scheduler, Options options,
                std::vector<std::unique_ptr<OutputBackend>> backends);
  ~DeviceManager() override;
  DeviceManager(const DeviceManager&) = delete;
  DeviceManager& operator=(const DeviceManager&) = delete;

  int count() const override { return static_cast<int>(m_devices.size()); }
  std::optional<DeviceInfo> device(int index) const override;
  int defaultDevice() const override { return m_default; }
  // Reads the device list again. Never closes or interrupts a stream that a
  // player uses; lastError says what could not be read.
  void rescan() override;

  // The device's stream, opened on first use; null with `error` set.
  OutputStream* stream(int device, std::string& error);
  std::string lastError() const { return m_error; }
  // The players' conversion thread; null when they convert on the UI thread.
  ConversionThread* conversionThread() { return m_conversion.get(); }
  // The time the watchdog takes at most to report a failure it can see.
  std::chrono::milliseconds watchdogPeriod() const { return m_options.watchdogPeriod; }
  // Streams handed over to be closed and not closed yet.
  int streamsClosing() const { return m_closer->closing(); }

 private:
  friend class DevicePlayer;
  void attach(DevicePlayer* player) { m_players.push_back(player); }
  void detach(DevicePlayer* player);

  static constexpr std::size_t kNullBackend = static_cast<std::size_t>(-1);
  struct Device {
    std::size_t backend = kNullBackend;
    std::string name;
    bool present = true;
    bool failed = false;
    std::unique_ptr<OutputStream> stream;
  };
  void readDevices();
  int indexOf(std::size_t backend, const std::string& name) const;
  // Idle streams of back ends that cannot list while a stream is open.
  std::vector<int> closeIdleStreamsForListing();
  void watch();
  void fail(std::size_t index, const std::string& reason);
  void updateWatchdog();

  UiScheduler& m_scheduler;
  Options m_options;
  std::vector<std::unique_ptr<OutputBackend>> m_backends;
  std::vector<Device> m_devices;
  int m_default = -1;
  std::string m_error;
  std::vector<DevicePlayer*> m_players;
  TimerId m_watchdog = 0;
  std::unique_ptr<ConversionThread> m_conversion;
  std::unique_ptr<DeviceCloser> m_closer = std::make_unique<DeviceCloser>();
};

}  // namespace quillon::audio
