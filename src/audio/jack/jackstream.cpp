#include "audio/jack/jackstream.h"

#include <algorithm>

namespace quillon::audio {

JackStream::JackStream(jack_client_t* client, int sampleRate, int channels)
    : m_client(client),
      m_channels(channels),
      m_mixer(std::make_unique<Mixer>(sampleRate)),
      m_interleaved(static_cast<std::size_t>(kChunkFrames) * 2) {}

std::unique_ptr<JackStream> JackStream::start(jack_client_t* client, const JackPortPair& pair,
                                              std::string& error) {
  const auto rate = static_cast<int>(jack_get_sample_rate(client));
  if (rate <= 0) {
    error = "the JACK server reports no sample rate";
    jack_client_close(client);
    return nullptr;
  }
  std::unique_ptr<JackStream> stream(
      new JackStream(client, rate, static_cast<int>(std::min<std::size_t>(pair.ports.size(), 2))));
  for (int c = 0; c < stream->m_channels; ++c) {
    const std::string name = "out_" + std::to_string(c);
    stream->m_ports[static_cast<std::size_t>(c)] =
        jack_port_register(client, name.c_str(), JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    if (stream->m_ports[static_cast<std::size_t>(c)] == nullptr) {
      error = "cannot make the JACK port " + name;
      return nullptr;  // the destructor closes the client
    }
  }
  jack_on_info_shutdown(client, &JackStream::shutdown, stream.get());
  if (jack_set_process_callback(client, &JackStream::process, stream.get()) != 0) {
    error = "cannot set the JACK process callback";
    return nullptr;
  }
  stream->m_heartbeat.starting(steadyNowNs());
  if (jack_activate(client) != 0) {
    error = "cannot start the JACK client";
    return nullptr;
  }
  for (int c = 0; c < stream->m_channels; ++c) {
    const auto i = static_cast<std::size_t>(c);
    const int rc = jack_connect(client, jack_port_name(stream->m_ports[i]), pair.ports[i].c_str());
    if (rc != 0 && rc != EEXIST) {
      error = "cannot connect to " + pair.ports[i];
      return nullptr;
    }
  }
  return stream;
}

JackStream::~JackStream() { close(); }

void JackStream::close() noexcept {
  if (m_closed) return;
  m_closed = true;
  // Deactivates first; returns within tens of milliseconds even when the
  // server is gone. No callback runs after it.
  jack_client_close(m_client);
}

std::optional<std::string> JackStream::failure(std::int64_t nowNs, std::int64_t stallNs) const {
  if (m_serverGone.load(std::memory_order_relaxed)) return "the JACK server stopped";
  if (m_heartbeat.stalled(nowNs, stallNs)) return "the JACK server stopped asking for sound";
  return std::nullopt;
}

// JACK's process thread
int JackStream::process(jack_nframes_t frames, void* self) noexcept {
  static_cast<JackStream*>(self)->render(frames);
  return 0;
}

// one of JACK's threads
void JackStream::shutdown(jack_status_t /*code*/, const char* /*reason*/, void* self) noexcept {
  static_cast<JackStream*>(self)->m_serverGone.store(true, std::memory_order_relaxed);
}

// JACK's process thread
void JackStream::render(jack_nframes_t frames) noexcept {
  const std::int64_t now = steadyNowNs();
  m_heartbeat.beat(now, static_cast<int>(frames));
  std::array<float*, 2> out{};
  for (int c = 0; c < m_channels; ++c) {
    const auto i = static_cast<std::size_t>(c);
    out[i] = static_cast<float*>(jack_port_get_buffer(m_ports[i], frames));
  }
  constexpr float kScale = 1.0F / 32768.0F;
  for (jack_nframes_t done = 0; done < frames;) {
    const int n = static_cast<int>(std::min<jack_nframes_t>(frames - done, kChunkFrames));
    m_mixer->render(m_interleaved.data(), n, m_channels, now);
    for (int c = 0; c < m_channels; ++c) {
      float* dst = out[static_cast<std::size_t>(c)] + done;
      for (int f = 0; f < n; ++f) {
        dst[f] = static_cast<float>(m_interleaved[static_cast<std::size_t>(f * m_channels + c)]) *
                 kScale;
      }
    }
    done += static_cast<jack_nframes_t>(n);
  }
}

}  // namespace quillon::audio
