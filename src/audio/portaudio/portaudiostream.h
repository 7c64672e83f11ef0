// An output stream on a PortAudio device, at the device's own rate, 16-bit,
// one or two channels, kept open while the device is in use. UI thread,
// except the callbacks and close().
#pragma once

#include <portaudio.h>

#include <atomic>
#include <memory>

#include "audio/portaudio/outputstream.h"

namespace quillon::audio {

class PortAudioStream : public OutputStream {
 public:
  // Opens and starts the stream; null with `error` set on failure.
  // `openStreams` counts the streams not yet closed, for the back end.
  static std::unique_ptr<PortAudioStream> open(PaDeviceIndex device,
                                               std::shared_ptr<std::atomic<int>> openStreams,
                                               std::string& error);
  ~PortAudioStream() override;

  Mixer& mixer() override { return *m_mixer; }
  std::optional<std::string> failure(std::int64_t nowNs, std::int64_t stallNs) const override;
  void close() noexcept override;
  int lastCallbackFrames() const override { return m_heartbeat.lastFrames(); }

  // The device callback's work. audio thread
  void process(std::int16_t* out, unsigned long frames) noexcept;
  // PortAudio says the stream has finished. audio thread (or PortAudio's)
  void finished() noexcept { m_finished.store(true, std::memory_order_relaxed); }

 private:
  PortAudioStream(int sampleRate, int channels, std::shared_ptr<std::atomic<int>> openStreams);

  PaStream* m_stream = nullptr;
  const int m_channels;
  std::unique_ptr<Mixer> m_mixer;
  std::shared_ptr<std::atomic<int>> m_openStreams;
  bool m_closed = false;
  StreamHeartbeat m_heartbeat;
  // Set by PortAudio's finished callback: relaxed, a flag read for itself.
  std::atomic<bool> m_finished{false};
};

}  // namespace quillon::audio
