#include "jackrecorder.h"

#include <algorithm>
#include <cstring>

namespace quillon::test {

JackRecorder::JackRecorder(const std::string& server, int seconds, std::string& error) {
  jack_status_t status{};
  m_client = jack_client_open("quillon-recorder",
                              static_cast<jack_options_t>(JackNoStartServer | JackServerName),
                              &status, server.c_str());
  if (m_client == nullptr) {
    error = "cannot open a JACK client (status " + std::to_string(status) + ")";
    return;
  }
  m_rate = static_cast<int>(jack_get_sample_rate(m_client));
  for (int c = 0; c < 2; ++c) {
    m_data[c].assign(static_cast<std::size_t>(m_rate) * static_cast<std::size_t>(seconds), 0.0f);
    const std::string name = "in_" + std::to_string(c);
    m_ports[c] =
        jack_port_register(m_client, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
  }
  if (m_ports[0] == nullptr || m_ports[1] == nullptr ||
      jack_set_process_callback(m_client, process, this) != 0 ||
      jack_set_xrun_callback(m_client, xrun, this) != 0 || jack_activate(m_client) != 0) {
    error = "cannot set up the JACK recorder";
    jack_client_close(m_client);
    m_client = nullptr;
  }
}

JackRecorder::~JackRecorder() {
  if (m_client != nullptr && !m_abandoned) {
    jack_deactivate(m_client);
    jack_client_close(m_client);
  }
}

bool JackRecorder::connectFrom(const std::string& source, std::string& error) {
  const std::string pattern = "^" + source + ":";
  const char** ports =
      jack_get_ports(m_client, pattern.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput);
  if (ports == nullptr) {
    error = "no output ports of " + source;
    return false;
  }
  bool connected = true;
  for (int c = 0; c < 2 && ports[c] != nullptr; ++c) {
    connected = connected && jack_connect(m_client, ports[c], jack_port_name(m_ports[c])) == 0;
  }
  jack_free(ports);
  if (!connected) error = "cannot connect the recorder";
  return connected;
}

bool JackRecorder::connectFromFeedersOf(const std::string& left, const std::string& right,
                                        std::string& error) {
  const std::string pair[2] = {left, right};
  for (int c = 0; c < 2; ++c) {
    jack_port_t* playback = jack_port_by_name(m_client, pair[c].c_str());
    const char** feeders =
        playback != nullptr ? jack_port_get_all_connections(m_client, playback) : nullptr;
    if (feeders == nullptr) {
      error = "nothing feeds " + pair[c];
      return false;
    }
    bool connected = true;
    for (int i = 0; feeders[i] != nullptr; ++i) {
      connected = connected && jack_connect(m_client, feeders[i], jack_port_name(m_ports[c])) == 0;
    }
    jack_free(feeders);
    if (!connected) {
      error = "cannot connect the recorder to what feeds " + pair[c];
      return false;
    }
  }
  return true;
}

std::vector<float> JackRecorder::channel(int c, long from, long to) const {
  to = std::min(to, position());
  if (from >= to) return {};
  return std::vector<float>(m_data[c].begin() + from, m_data[c].begin() + to);
}

void JackRecorder::markGlitch(long position) noexcept {
  // Two threads may mark (process and notification): a slot each by
  // fetch_add, then the slot is written; readers skip unwritten (0) slots.
  const int slot = m_glitchCount.fetch_add(1, std::memory_order_acq_rel);
  if (slot < kMaxGlitches) {
    m_glitches[static_cast<std::size_t>(slot)].store(std::max(position, 1L),
                                                     std::memory_order_release);
  }
}

std::vector<long> JackRecorder::glitches() const {
  std::vector<long> out;
  const int n = std::min(m_glitchCount.load(std::memory_order_acquire), kMaxGlitches);
  for (int i = 0; i < n; ++i) {
    const long p = m_glitches[static_cast<std::size_t>(i)].load(std::memory_order_acquire);
    if (p > 0) out.push_back(p);
  }
  return out;
}

int JackRecorder::xrun(void* self) {
  auto* r = static_cast<JackRecorder*>(self);
  const jack_nframes_t now = jack_frame_time(r->m_client);
  const long since = static_cast<long>(now - r->m_cycleStart.load(std::memory_order_relaxed));
  r->markGlitch(r->m_cycleWritten.load(std::memory_order_relaxed) + since);
  return 0;
}

int JackRecorder::process(jack_nframes_t frames, void* self) {
  auto* r = static_cast<JackRecorder*>(self);
  const long written = r->m_written.load(std::memory_order_relaxed);
  // A cycle that does not start where the last one ended was missed here.
  const jack_nframes_t start = jack_last_frame_time(r->m_client);
  if (r->m_started.load(std::memory_order_relaxed) &&
      start != r->m_cycleStart.load(std::memory_order_relaxed) + r->m_lastFrames) {
    r->markGlitch(written);
  }
  r->m_started.store(true, std::memory_order_relaxed);
  r->m_lastFrames = frames;
  r->m_cycleStart.store(start, std::memory_order_relaxed);
  r->m_cycleWritten.store(written, std::memory_order_relaxed);
  const long room = static_cast<long>(r->m_data[0].size()) - written;
  const long n = std::min<long>(frames, room);
  if (n <= 0) return 0;
  for (int c = 0; c < 2; ++c) {
    const auto* in = static_cast<const float*>(jack_port_get_buffer(r->m_ports[c], frames));
    std::memcpy(r->m_data[c].data() + written, in, static_cast<std::size_t>(n) * sizeof(float));
  }
  r->m_written.store(written + n, std::memory_order_release);
  return 0;
}

}  // namespace quillon::test
