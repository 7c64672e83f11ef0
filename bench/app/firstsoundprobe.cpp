#include "firstsoundprobe.h"

#include <chrono>
#include <cmath>

namespace quillon::bench {

namespace {
// Above 16-bit silence: two steps of the smallest sample.
constexpr float kSilence = 2.0f / 32768.0f;

std::int64_t steadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

FirstSoundProbe::FirstSoundProbe(const std::string& server, std::string& error) {
  jack_status_t status{};
  m_client = jack_client_open("quillon-probe",
                              static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                              &status, server.c_str());
  if (m_client == nullptr) {
    error = "cannot open a JACK client (status " + std::to_string(status) + ")";
    return;
  }
  for (int c = 0; c < 2; ++c) {
    const std::string name = "in_" + std::to_string(c);
    m_ports[c] =
        jack_port_register(m_client, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  }
  if (m_ports[0] == nullptr || m_ports[1] == nullptr ||
      jack_set_process_callback(m_client, process, this) != 0 || jack_activate(m_client) != 0) {
    error = "cannot set up the JACK probe";
    jack_client_close(m_client);
    m_client = nullptr;
  }
}

FirstSoundProbe::~FirstSoundProbe() {
  if (m_client != nullptr) {
    jack_deactivate(m_client);
    jack_client_close(m_client);
  }
}

int FirstSoundProbe::periodFrames() const {
  return static_cast<int>(jack_get_buffer_size(m_client));
}
int FirstSoundProbe::sampleRate() const { return static_cast<int>(jack_get_sample_rate(m_client)); }

bool FirstSoundProbe::connectFrom(const std::string& client, std::string& error) {
  const std::string pattern = "^" + client + ":";
  const char** ports =
      jack_get_ports(m_client, pattern.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
  if (ports == nullptr) {
    error = "no output ports of " + client;
    return false;
  }
  bool connected = true;
  for (int c = 0; c < 2 && ports[c] != nullptr; ++c) {
    connected = connected && jack_connect(m_client, ports[c], jack_port_name(m_ports[c])) == 0;
  }
  jack_free(ports);
  if (!connected) error = "cannot connect the probe";
  return connected;
}

void FirstSoundProbe::arm() {
  // JACK's clock against the steady clock, read together; they are both
  // monotonic, so the offset holds over a trial.
  const std::int64_t before = steadyNs();
  const jack_time_t jackNow = jack_get_time();
  const std::int64_t after = steadyNs();
  m_steadyMinusJackNs = (before + after) / 2 - static_cast<std::int64_t>(jackNow) * 1000;
  m_heard.store(false, std::memory_order_relaxed);
  m_armed.store(true, std::memory_order_release);
}

// JACK's process thread: reads the inputs, allocates nothing.
int FirstSoundProbe::process(jack_nframes_t frames, void* self) {
  auto* probe = static_cast<FirstSoundProbe*>(self);
  if (!probe->m_armed.load(std::memory_order_acquire)) return 0;
  const auto* left = static_cast<const float*>(jack_port_get_buffer(probe->m_ports[0], frames));
  const auto* right = static_cast<const float*>(jack_port_get_buffer(probe->m_ports[1], frames));
  for (jack_nframes_t i = 0; i < frames; ++i) {
    if (std::fabs(left[i]) > kSilence || std::fabs(right[i]) > kSilence) {
      probe->m_heardFrame = jack_last_frame_time(probe->m_client) + i;
      probe->m_armed.store(false, std::memory_order_relaxed);
      probe->m_heard.store(true, std::memory_order_release);
      break;
    }
  }
  return 0;
}

std::int64_t FirstSoundProbe::heardAtNs() const {
  const jack_time_t at = jack_frames_to_time(m_client, m_heardFrame);
  return static_cast<std::int64_t>(at) * 1000 + m_steadyMinusJackNs;
}

}  // namespace quillon::bench
