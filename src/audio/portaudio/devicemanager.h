// The process's output devices: PortAudio's output devices, or the null
// device when there is none. Each device's stream is opened on first use and
// kept open, shared by every player on it through its mixer. A watchdog on the
// UI thread notices a device that fails (its stream stops, reports an error or
// its callbacks stop arriving) and tells every player on it.
//
// One per process (PortAudio is process-wide); it outlives every DevicePlayer
// made on it. UI thread.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "audio/devicecatalog.h"
#include "audio/portaudio/conversionthread.h"
#include "audio/portaudio/outputstream.h"
#include "audio/portaudio/portaudiolibrary.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class DevicePlayer;

class DeviceManager : public DeviceCatalog {
 public:
  static constexpr const char* kNullDeviceName = "No sound card (silent output)";

  struct Options {
    // False: the null device alone, PortAudio untouched (tests, soaks).
    bool usePortAudio = true;
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
    // as a failed device.
    std::chrono::milliseconds watchdogPeriod{20};
    std::chrono::milliseconds stallLimit{500};
  };

  DeviceManager(UiScheduler& scheduler, Options options);
  explicit DeviceManager(UiScheduler& scheduler) : DeviceManager(scheduler, Options{}) {}
  ~DeviceManager() override;
  DeviceManager(const DeviceManager&) = delete;
  DeviceManager& operator=(const DeviceManager&) = delete;

  int count() const override { return static_cast<int>(m_devices.size()); }
  std::optional<DeviceInfo> device(int index) const override;
  int defaultDevice() const override { return m_default; }
  // Reads the device list again. Refused (lastError says why) while any
  // player has an open output: every stream is closed first.
  void rescan() override;

  // The device's stream, opened on first use; null with `error` set.
  OutputStream* stream(int device, std::string& error);
  std::string lastError() const { return m_error; }
  // The players' conversion thread; null when they convert on the UI thread.
  ConversionThread* conversionThread() { return m_conversion.get(); }
  // The time the watchdog takes at most to report a failure it can see.
  std::chrono::milliseconds watchdogPeriod() const { return m_options.watchdogPeriod; }

 private:
  friend class DevicePlayer;
  void attach(DevicePlayer* player) { m_players.push_back(player); }
  void detach(DevicePlayer* player);

  struct Device {
    DeviceInfo info;
    PaDeviceIndex paIndex = paNoDevice;  // paNoDevice: the null device
    std::unique_ptr<OutputStream> stream;
  };
  void listDevices();
  void closeStreams();
  void watch();
  void fail(std::size_t index, const std::string& reason);
  void updateWatchdog();

  UiScheduler& m_scheduler;
  Options m_options;
  std::unique_ptr<PortAudioLibrary> m_pa;
  std::vector<Device> m_devices;
  int m_default = -1;
  std::string m_error;
  std::vector<DevicePlayer*> m_players;
  TimerId m_watchdog = 0;
  std::unique_ptr<ConversionThread> m_conversion;
};

}  // namespace quillon::audio
