#include "audio/portaudio/devicemanager.h"

#include <algorithm>
#include <atomic>

#include "audio/portaudio/deviceplayer.h"
#include "audio/portaudio/nullstream.h"
#include "audio/portaudio/portaudiostream.h"

namespace quillon::audio {

namespace {

// PortAudio is process-wide: only one manager may drive it at a time.
std::atomic<bool> g_portAudioTaken{false};

// Streams whose device failed, and the PortAudio copies they came from. A
// thread of the library may still run into them, so they live as long as the
// process; held here so that they stay reachable rather than leaked.
std::vector<std::unique_ptr<OutputStream>>& abandonedStreams() {
  static auto* streams = new std::vector<std::unique_ptr<OutputStream>>;
  return *streams;
}
std::vector<std::unique_ptr<PortAudioLibrary>>& abandonedLibraries() {
  static auto* libraries = new std::vector<std::unique_ptr<PortAudioLibrary>>;
  return *libraries;
}

}  // namespace

DeviceManager::DeviceManager(UiScheduler& scheduler, Options options)
    : m_scheduler(scheduler), m_options(options) {
  if (m_options.usePortAudio && g_portAudioTaken.exchange(true)) {
    m_options.usePortAudio = false;
    m_error = "PortAudio is already in use in this process";
  }
  if (m_options.usePortAudio) m_pa = PortAudioLibrary::load(m_error);
  if (m_options.convertOnThread) m_conversion = std::make_unique<ConversionThread>();
  listDevices();
  if (m_options.openDefaultAtStart && m_default >= 0) {
    std::string ignored;  // a failure shows again, with its reason, at the first play
    stream(m_default, ignored);
  }
}

DeviceManager::~DeviceManager() {
  if (m_watchdog != 0) m_scheduler.stopRepeating(m_watchdog);
  closeStreams();
  if (m_pa && m_pa->abandoned()) abandonedLibraries().push_back(std::move(m_pa));
  m_pa.reset();
  if (m_options.usePortAudio) g_portAudioTaken.store(false);
}

void DeviceManager::listDevices() {
  m_devices.clear();
  m_default = -1;
  if (m_pa) {
    const PaDeviceIndex total = m_pa->GetDeviceCount();
    const PaDeviceIndex paDefault = m_pa->GetDefaultOutputDevice();
    for (PaDeviceIndex i = 0; i < total; ++i) {
      const PaDeviceInfo* info = m_pa->GetDeviceInfo(i);
      if (info == nullptr || info->maxOutputChannels < 1) continue;
      if (i == paDefault) m_default = static_cast<int>(m_devices.size());
      Device d;
      d.info = DeviceInfo{info->name != nullptr ? info->name : "?", true};
      d.paIndex = i;
      m_devices.push_back(std::move(d));
    }
    if (total < 0) m_error = "cannot list the devices: " + m_pa->errorText(total);
  }
  if (m_devices.empty()) {
    Device d;
    d.info = DeviceInfo{kNullDeviceName, true};
    m_devices.push_back(std::move(d));
  }
  if (m_default < 0) m_default = 0;
}

std::optional<DeviceInfo> DeviceManager::device(int index) const {
  if (index < 0 || index >= count()) return std::nullopt;
  return m_devices[static_cast<std::size_t>(index)].info;
}

OutputStream* DeviceManager::stream(int index, std::string& error) {
  if (index < 0 || index >= count()) {
    error = "no such output device";
    return nullptr;
  }
  Device& d = m_devices[static_cast<std::size_t>(index)];
  if (!d.info.usable) {
    error = "the output device has failed; read the device list again";
    return nullptr;
  }
  if (!d.stream) {
    if (d.paIndex == paNoDevice) {
      d.stream = std::make_unique<NullStream>(m_options.nullRate, m_options.nullPeriodFrames,
                                              m_options.nullPacedByCaller
                                                  ? NullStream::Pacing::Caller
                                                  : NullStream::Pacing::ClockThread);
    } else {
      d.stream = PortAudioStream::open(*m_pa, d.paIndex, error);
      if (!d.stream) return nullptr;
    }
    updateWatchdog();
  }
  return d.stream.get();
}

void DeviceManager::detach(DevicePlayer* player) {
  m_players.erase(std::remove(m_players.begin(), m_players.end(), player), m_players.end());
}

void DeviceManager::rescan() {
  for (const Device& d : m_devices) {
    if (d.stream && d.stream->mixer().claimedVoices() > 0) {
      m_error = "the devices are in use: stop every cart before reading the list again";
      return;
    }
  }
  closeStreams();
  m_error.clear();
  if (m_options.usePortAudio) {
    if (m_pa && !m_pa->abandoned()) {
      if (!m_pa->reinitialise(m_error)) m_pa.reset();
    } else {
      if (m_pa) abandonedLibraries().push_back(std::move(m_pa));
      m_pa = PortAudioLibrary::load(m_error);
    }
  }
  listDevices();
}

void DeviceManager::closeStreams() {
  const std::int64_t now = steadyNowNs();
  const std::int64_t stall = std::chrono::nanoseconds(m_options.stallLimit).count();
  for (Device& d : m_devices) {
    if (!d.stream) continue;
    // Closing a stream whose device has gone can hang: abandon it instead.
    if (d.stream->failure(now, stall)) {
      d.stream->abandon();
      abandonedStreams().push_back(std::move(d.stream));
      if (m_pa) m_pa->abandon();
    }
    d.stream.reset();
  }
  updateWatchdog();
}

void DeviceManager::updateWatchdog() {
  const bool anyStream =
      std::any_of(m_devices.begin(), m_devices.end(), [](const Device& d) { return !!d.stream; });
  if (anyStream && m_watchdog == 0) {
    m_watchdog = m_scheduler.startRepeating(m_options.watchdogPeriod, [this] { watch(); });
  } else if (!anyStream && m_watchdog != 0) {
    m_scheduler.stopRepeating(m_watchdog);
    m_watchdog = 0;
  }
}

void DeviceManager::watch() {
  const std::int64_t now = steadyNowNs();
  const std::int64_t stall = std::chrono::nanoseconds(m_options.stallLimit).count();
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    OutputStream* s = m_devices[i].stream.get();
    if (s == nullptr) continue;
    s->mixer().reclaimIdle();
    if (const auto reason = s->failure(now, stall)) fail(i, *reason);
  }
}

void DeviceManager::fail(std::size_t index, const std::string& reason) {
  Device& d = m_devices[index];
  d.info.usable = false;
  d.stream->abandon();
  abandonedStreams().push_back(std::move(d.stream));
  // The copy of PortAudio that ran it cannot be shut down safely any more.
  if (m_pa) m_pa->abandon();
  m_error = reason;
  const auto players = m_players;  // a player may detach while being told
  for (DevicePlayer* p : players) {
    if (std::find(m_players.begin(), m_players.end(), p) != m_players.end()) {
      p->deviceFailed(static_cast<int>(index), reason);
    }
  }
  updateWatchdog();
}

}  // namespace quillon::audio
