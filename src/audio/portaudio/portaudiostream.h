// An output stream on a PortAudio device, at the device's own rate, 16-bit,
// one or two channels, kept open while the device is in use. UI thread,
// except the callback.
#pragma once

#include <atomic>
#include <memory>

#include "audio/portaudio/outputstream.h"
#include "audio/portaudio/portaudiolibrary.h"

namespace quillon::audio {

class PortAudioStream : public OutputStream {
 public:
  // Opens and starts the stream; null with `error` set on failure.
  static std::unique_ptr<PortAudioStream> open(PortAudioLibrary& pa, PaDeviceIndex device,
                                               std::string& error);
  // Stops and closes the stream, unless abandoned.
  ~PortAudioStream() override;

  Mixer& mixer() override { return *m_mixer; }
  std::optional<std::string> failure(std::int64_t nowNs, std::int64_t stallNs) const override;
  void abandon() override { m_abandoned = true; }
  int lastCallbackFrames() const override { return m_lastFrames.load(std::memory_order_relaxed); }

  // The device callback's work. audio thread
  void process(std::int16_t* out, unsigned long frames) noexcept;
  // PortAudio says the stream has finished. audio thread (or PortAudio's)
  void finished() noexcept { m_finished.store(true, std::memory_order_relaxed); }

 private:
  PortAudioStream(PortAudioLibrary& pa, int sampleRate, int channels);

  PortAudioLibrary& m_pa;
  PaStream* m_stream = nullptr;
  const int m_channels;
  std::unique_ptr<Mixer> m_mixer;
  bool m_abandoned = false;
  // Heartbeat for the watchdog: single values read for display and timeouts,
  // so relaxed.
  std::atomic<std::int64_t> m_lastCallbackNs{0};
  std::atomic<int> m_lastFrames{0};
  std::atomic<bool> m_finished{false};
};

}  // namespace quillon::audio
