// An output on a JACK server through JACK's own client library: a client
// named "Quillon" (JACK numbers a second one on the same server) with ports
// out_0 and out_1, connected to one pair of the server's playback ports, at
// the server's rate and period, so a fire is one period from the ports.
//
// Threads: made and watched on the UI thread; the process callback on JACK's
// process thread; the shutdown callback on one of JACK's threads; close() on
// the device manager's closing thread.
#pragma once

#include <jack/jack.h>

#include <array>
#include <atomic>
#include <memory>
#include <vector>

#include "audio/jack/jackports.h"
#include "audio/portaudio/outputstream.h"

namespace quillon::audio {

class JackStream : public OutputStream {
 public:
  // Takes an open client (its ownership with it), registers the ports,
  // starts the client and connects to `pair`; null with `error` set (and
  // the client closed) when it cannot.
  static std::unique_ptr<JackStream> start(jack_client_t* client, const JackPortPair& pair,
                                           std::string& error);
  ~JackStream() override;

  Mixer& mixer() override { return *m_mixer; }
  std::optional<std::string> failure(std::int64_t nowNs, std::int64_t stallNs) const override;
  void close() noexcept override;
  int lastCallbackFrames() const override { return m_heartbeat.lastFrames(); }

 private:
  JackStream(jack_client_t* client, int sampleRate, int channels);
  // The real-time contract: these run on JACK's threads; no lock, no
  // allocation, no I/O, no logging.
  static int process(jack_nframes_t frames, void* self) noexcept;
  static void shutdown(jack_status_t code, const char* reason, void* self) noexcept;
  void render(jack_nframes_t frames) noexcept;

  static constexpr int kChunkFrames = 1024;

  jack_client_t* m_client;
  const int m_channels;
  std::array<jack_port_t*, 2> m_ports{};
  std::unique_ptr<Mixer> m_mixer;
  std::vector<std::int16_t> m_interleaved;  // process thread, sized once
  StreamHeartbeat m_heartbeat;
  // Set by JACK's shutdown callback, read by the watchdog: relaxed, a flag
  // read for itself.
  std::atomic<bool> m_serverGone{false};
  bool m_closed = false;
};

}  // namespace quillon::audio
