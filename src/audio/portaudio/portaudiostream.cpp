#include "audio/portaudio/portaudiostream.h"

#include <algorithm>

namespace quillon::audio {

namespace {

// The real-time contract: PortAudio calls this on its own high-priority audio
// thread; it must fill the whole buffer and return at once. It takes no lock,
// allocates and frees nothing, does no I/O and no logging.
int streamCallback(const void* /*input*/, void* output, unsigned long frames,
                   const PaStreamCallbackTimeInfo* /*time*/, PaStreamCallbackFlags /*flags*/,
                   void* user) {
  static_cast<PortAudioStream*>(user)->process(static_cast<std::int16_t*>(output), frames);
  return paContinue;
}

void streamFinished(void* user) { static_cast<PortAudioStream*>(user)->finished(); }

}  // namespace

PortAudioStream::PortAudioStream(PortAudioLibrary& pa, int sampleRate, int channels)
    : m_pa(pa), m_channels(channels), m_mixer(std::make_unique<Mixer>(sampleRate)) {}

std::unique_ptr<PortAudioStream> PortAudioStream::open(PortAudioLibrary& pa, PaDeviceIndex device,
                                                       std::string& error) {
  const PaDeviceInfo* info = pa.GetDeviceInfo(device);
  if (info == nullptr || info->maxOutputChannels < 1) {
    error = "no such output device";
    return nullptr;
  }
  const int rate = static_cast<int>(info->defaultSampleRate + 0.5);
  if (rate <= 0) {
    error = "the device reports no sample rate";
    return nullptr;
  }
  std::unique_ptr<PortAudioStream> stream(
      new PortAudioStream(pa, rate, std::min(info->maxOutputChannels, 2)));
  PaStreamParameters params{};
  params.device = device;
  params.channelCount = stream->m_channels;
  params.sampleFormat = paInt16;
  params.suggestedLatency = info->defaultLowOutputLatency;
  // The device's own rate and period: anything else is refused or makes the
  // callbacks bursty.
  PaError rc = pa.OpenStream(&stream->m_stream, nullptr, &params, rate,
                             paFramesPerBufferUnspecified, paNoFlag, streamCallback, stream.get());
  if (rc != paNoError) {
    error = "cannot open the device: " + pa.errorText(rc);
    stream->m_stream = nullptr;
    return nullptr;
  }
  rc = pa.SetStreamFinishedCallback(stream->m_stream, streamFinished);
  if (rc != paNoError) {
    error = "cannot watch the device: " + pa.errorText(rc);
    return nullptr;
  }
  stream->m_lastCallbackNs.store(steadyNowNs(), std::memory_order_relaxed);
  rc = pa.StartStream(stream->m_stream);
  if (rc != paNoError) {
    error = "cannot start the device: " + pa.errorText(rc);
    return nullptr;
  }
  return stream;
}

PortAudioStream::~PortAudioStream() {
  // An abandoned stream is never destroyed (see DeviceManager); this guard
  // only keeps a slip from closing it.
  if (m_stream == nullptr || m_abandoned) return;
  // Closing a stream that never started, or stopped, is fine; errors here
  // cannot be acted on beyond dropping the stream.
  if (m_pa.IsStreamActive(m_stream) == 1) m_pa.StopStream(m_stream);
  m_pa.CloseStream(m_stream);
}

// audio thread
void PortAudioStream::process(std::int16_t* out, unsigned long frames) noexcept {
  const std::int64_t now = steadyNowNs();
  m_lastCallbackNs.store(now, std::memory_order_relaxed);
  m_lastFrames.store(static_cast<int>(frames), std::memory_order_relaxed);
  m_mixer->render(out, static_cast<int>(frames), m_channels, now);
}

std::optional<std::string> PortAudioStream::failure(std::int64_t nowNs,
                                                    std::int64_t stallNs) const {
  if (m_finished.load(std::memory_order_relaxed)) return "the output device stopped";
  const PaError active = m_pa.IsStreamActive(m_stream);
  if (active < 0) return "the output device failed: " + m_pa.errorText(active);
  if (active == 0) return "the output device stopped (its card or sound server went away)";
  if (nowNs - m_lastCallbackNs.load(std::memory_order_relaxed) > stallNs) {
    return "the output device stopped asking for sound";
  }
  return std::nullopt;
}

}  // namespace quillon::audio
