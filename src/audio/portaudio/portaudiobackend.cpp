#include "audio/portaudio/portaudiobackend.h"

#include <cstdlib>
#include <map>

#include "audio/portaudio/portaudiostream.h"

namespace quillon::audio {

namespace {

// PortAudio is process-wide: only one back end may drive it at a time.
std::atomic<bool> g_portAudioTaken{false};

std::string errorText(PaError code) {
  const char* text = Pa_GetErrorText(code);
  return text != nullptr ? text : "error " + std::to_string(code);
}

// PortAudio has no switch for its JACK host API; its JACK client finds no
// server under a name that no server has, and ALSA's JACK plugin, probed
// by the ALSA host API, none either. The environment is the caller's again
// when Pa_Initialize returns. UI thread, before any other thread of the
// program reads the environment for JACK.
class JackKeptOut {
 public:
  JackKeptOut() : m_server(saved("JACK_DEFAULT_SERVER")), m_noStart(saved("JACK_NO_START_SERVER")) {
    setenv("JACK_DEFAULT_SERVER", "quillon-no-jack-through-portaudio", 1);
    setenv("JACK_NO_START_SERVER", "1", 1);
  }
  ~JackKeptOut() {
    restore("JACK_DEFAULT_SERVER", m_server);
    restore("JACK_NO_START_SERVER", m_noStart);
  }
  JackKeptOut(const JackKeptOut&) = delete;
  JackKeptOut& operator=(const JackKeptOut&) = delete;

 private:
  static std::pair<bool, std::string> saved(const char* name) {
    const char* value = std::getenv(name);
    return {value != nullptr, value != nullptr ? value : ""};
  }
  static void restore(const char* name, const std::pair<bool, std::string>& value) {
    if (value.first) {
      setenv(name, value.second.c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  std::pair<bool, std::string> m_server;
  std::pair<bool, std::string> m_noStart;
};

}  // namespace

std::unique_ptr<PortAudioBackend> PortAudioBackend::start(std::string& error) {
  if (g_portAudioTaken.exchange(true)) {
    error = "PortAudio is already in use in this process";
    return nullptr;
  }
  std::unique_ptr<PortAudioBackend> backend(new PortAudioBackend);
  if (!backend->initialise(error)) return nullptr;
  return backend;
}

PortAudioBackend::~PortAudioBackend() {
  // A stream still closing (its device went away) keeps PortAudio as it is:
  // terminating under it could hang or crash.
  if (m_initialised && m_openStreams->load(std::memory_order_acquire) == 0) Pa_Terminate();
  g_portAudioTaken.store(false);
}

bool PortAudioBackend::initialise(std::string& error) {
  PaError rc = paNoError;
  {
    const JackKeptOut keptOut;
    rc = Pa_Initialize();
  }
  if (rc != paNoError) {
    error = "cannot start PortAudio: " + errorText(rc);
    return false;
  }
  m_initialised = true;
  m_listedSinceInitialise = false;
  readDevices();
  return true;
}

void PortAudioBackend::readDevices() {
  m_devices.clear();
  const PaDeviceIndex total = Pa_GetDeviceCount();
  const PaDeviceIndex fallback = Pa_GetDefaultOutputDevice();
  std::map<std::string, int> seen;
  for (PaDeviceIndex i = 0; i < total; ++i) {
    const PaDeviceInfo* info = Pa_GetDeviceInfo(i);
    if (info == nullptr || info->maxOutputChannels < 1) continue;
    const PaHostApiInfo* api = Pa_GetHostApiInfo(info->hostApi);
    if (api != nullptr && api->type == paJACK) continue;
    std::string name = info->name != nullptr ? info->name : "?";
    if (const int n = ++seen[name]; n > 1) name += " #" + std::to_string(n);
    m_devices.push_back({BackendDevice{name, i == fallback}, i});
  }
}

DeviceListing PortAudioBackend::list() {
  DeviceListing listing;
  if (m_listedSinceInitialise) {
    if (m_openStreams->load(std::memory_order_acquire) > 0) {
      listing.fresh = false;
    } else {
      const PaError rc = Pa_Terminate();
      m_initialised = false;
      if (rc != paNoError) {
        listing.error = "cannot stop PortAudio: " + errorText(rc);
        m_devices.clear();
        return listing;
      }
      if (!initialise(listing.error)) {
        m_devices.clear();
        return listing;
      }
    }
  }
  m_listedSinceInitialise = true;
  for (const auto& [device, index] : m_devices) listing.devices.push_back(device);
  return listing;
}

std::unique_ptr<OutputStream> PortAudioBackend::open(const std::string& name, std::string& error) {
  if (!m_initialised) {
    error = "PortAudio is not running";
    return nullptr;
  }
  for (const auto& [device, index] : m_devices) {
    if (device.name == name) return PortAudioStream::open(index, m_openStreams, error);
  }
  error = "no such output device";
  return nullptr;
}

}  // namespace quillon::audio
