#include "audio/portaudio/devicemanager.h"

#include <algorithm>
#include <thread>

#include "audio/jack/jackbackend.h"
#include "audio/portaudio/deviceplayer.h"
#include "audio/portaudio/nullstream.h"
#include "audio/portaudio/portaudiobackend.h"

namespace quillon::audio {

namespace {

std::vector<std::unique_ptr<OutputBackend>> systemBackends(std::string& error) {
  std::vector<std::unique_ptr<OutputBackend>> backends;
  // JACK first: where a server runs, it is what the studio patches, and its
  // first pair of ports is the default device.
  backends.push_back(std::make_unique<JackBackend>());
  if (auto pa = PortAudioBackend::start(error)) backends.push_back(std::move(pa));
  return backends;
}

}  // namespace

DeviceManager::DeviceManager(UiScheduler& scheduler, Options options)
    : DeviceManager(scheduler, options, {}) {}

DeviceManager::DeviceManager(UiScheduler& scheduler, Options options,
                             std::vector<std::unique_ptr<OutputBackend>> backends)
    : m_scheduler(scheduler), m_options(options), m_backends(std::move(backends)) {
  if (m_backends.empty() && m_options.useSystemDevices) m_backends = systemBackends(m_error);
  if (m_options.convertOnThread) m_conversion = std::make_unique<ConversionThread>();
  readDevices();
  if (m_options.openDefaultAtStart && m_default >= 0) {
    std::string ignored;  // a failure shows again, with its reason, at the first play
    stream(m_default, ignored);
  }
}

DeviceManager::~DeviceManager() {
  if (m_watchdog != 0) m_scheduler.stopRepeating(m_watchdog);
  for (Device& d : m_devices) m_closer->close(std::move(d.stream));
  m_closer.reset();  // waits a bounded time for the closes
  m_backends.clear();
}

int DeviceManager::indexOf(std::size_t backend, const std::string& name) const {
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    if (m_devices[i].backend == backend && m_devices[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

void DeviceManager::readDevices() {
  // The default: that of the first back end with a device (JACK's first
  // pair when a server runs), else that back end's first device.
  int preferred = -1;
  for (std::size_t b = 0; b < m_backends.size(); ++b) {
    int backendFirst = -1;
    int backendDefault = -1;
    DeviceListing listing = m_backends[b]->list();
    if (!listing.error.empty()) m_error = listing.error;
    std::vector<bool> listed(m_devices.size(), false);
    for (const BackendDevice& found : listing.devices) {
      int index = indexOf(b, found.name);
      if (index < 0) {
        index = static_cast<int>(m_devices.size());
        m_devices.push_back(Device{b, found.name, true, false, nullptr});
        listed.push_back(false);
      }
      Device& d = m_devices[static_cast<std::size_t>(index)];
      listed[static_cast<std::size_t>(index)] = true;
      d.present = true;
      // Listed afresh: a device that failed gets its chance again.
      if (listing.fresh && !d.stream) d.failed = false;
      if (backendFirst < 0) backendFirst = index;
      if (found.isDefault && backendDefault < 0) backendDefault = index;
    }
    if (preferred < 0) preferred = backendDefault >= 0 ? backendDefault : backendFirst;
    // A stale list says nothing of what went; a fresh one does.
    if (!listing.fresh) continue;
    for (std::size_t i = 0; i < listed.size(); ++i) {
      if (m_devices[i].backend == b && !listed[i]) m_devices[i].present = false;
    }
  }
  const bool anyPresent = std::any_of(m_devices.begin(), m_devices.end(), [](const Device& d) {
    return d.backend != kNullBackend && d.present;
  });
  // The null device stands in while the machine has no other.
  int null = indexOf(kNullBackend, kNullDeviceName);
  if (!anyPresent && null < 0) {
    null = static_cast<int>(m_devices.size());
    m_devices.push_back(Device{kNullBackend, kNullDeviceName, true, false, nullptr});
  }
  if (null >= 0) m_devices[static_cast<std::size_t>(null)].present = !anyPresent;
  if (preferred < 0) {
    const auto first =
        std::find_if(m_devices.begin(), m_devices.end(), [](const Device& d) { return d.present; });
    preferred = first != m_devices.end() ? static_cast<int>(first - m_devices.begin()) : -1;
  }
  m_default = preferred;
}

std::optional<DeviceInfo> DeviceManager::device(int index) const {
  if (index < 0 || index >= count()) return std::nullopt;
  const Device& d = m_devices[static_cast<std::size_t>(index)];
  return DeviceInfo{d.name, d.present && !d.failed, d.present};
}

OutputStream* DeviceManager::stream(int index, std::string& error) {
  if (index < 0 || index >= count()) {
    error = "no such output device";
    return nullptr;
  }
  Device& d = m_devices[static_cast<std::size_t>(index)];
  if (d.failed) {
    error = "the output device " + d.name + " has failed";
    return nullptr;
  }
  if (!d.stream && !d.present) {
    error = "the output device " + d.name + " is absent";
    return nullptr;
  }
  if (!d.stream) {
    if (d.backend == kNullBackend) {
      d.stream = std::make_unique<NullStream>(m_options.nullRate, m_options.nullPeriodFrames,
                                              m_options.nullPacedByCaller
                                                  ? NullStream::Pacing::Caller
                                                  : NullStream::Pacing::ClockThread);
    } else {
      d.stream = m_backends[d.backend]->open(d.name, error);
      if (!d.stream) return nullptr;
    }
    updateWatchdog();
  }
  return d.stream.get();
}

void DeviceManager::detach(DevicePlayer* player) {
  m_players.erase(std::remove(m_players.begin(), m_players.end(), player), m_players.end());
}

std::vector<int> DeviceManager::closeIdleStreamsForListing() {
  std::vector<int> closed;
  for (std::size_t i = 0; i < m_devices.size(); ++i) {
    Device& d = m_devices[i];
    if (!d.stream || d.backend == kNullBackend || m_backends[d.backend]->listsWhileStreamsOpen()) {
      continue;
    }
    if (d.stream->mixer().claimedVoices() > 0) continue;  // a player uses it: never cut
    m_closer->close(std::move(d.stream));
    closed.push_back(static_cast<int>(i));
  }
  return closed;
}

void DeviceManager::rescan() {
  m_error.clear();
  const std::vector<int> reopen = closeIdleStreamsForListing();
  // A healthy stream closes in milliseconds; one that does not is left to
  // its thread, and its back end's list stays as it was this time.
  const auto until = std::chrono::steady_clock::now() + kRelistWait;
  while (m_closer->closing() > 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  m_closer->reap();
  readDevices();
  // Streams closed only so that the list could be read open again, so that
  // the next fire does not wait for them.
  for (int index : reopen) {
    const Device& d = m_devices[static_cast<std::size_t>(index)];
    if (!d.present || d.failed) continue;
    std::string ignored;  // shown at the next play on it, with its reason
    stream(index, ignored);
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
  m_closer->reap();
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
  d.failed = true;
  m_error = reason;
  // The players let go of their voices first: the mixer goes with the stream.
  const auto players = m_players;  // a player may detach while being told
  for (DevicePlayer* p : players) {
    if (std::find(m_players.begin(), m_players.end(), p) != m_players.end()) {
      p->deviceFailed(static_cast<int>(index), reason);
    }
  }
  m_closer->close(std::move(d.stream));
  updateWatchdog();
}

}  // namespace quillon::audio
