#include "audio/portaudio/portaudiostream.h"

#include <algorithm>

namespace quillon::audio {

namespace {

std::string errorText(PaError code) {
  const char* text = Pa_GetErrorText(code);
  return text != nullptr ? text : "error " + std::to_string(code);
}

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

PortAudioStream::PortAudioStream(int sampleRate, int channels,
                                 std::shared_ptr<std::atomic<int>> openStreams)
    : m_channels(channels),
      m_mixer(std::make_unique<Mixer>(sampleRate)),
      m_openStreams(std::move(openStreams)) {
  m_openStreams->fetch_add(1, std::memory_order_relaxed);
}

std::unique_ptr<PortAudioStream> PortAudioStream::open(
    PaDeviceIndex device, std::shared_ptr<std::atomic<int>> openStreams, std::string& error) {
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
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
      new PortAudioStream(rate, std::min(info->maxOutputChannels, 2), std::move(openStreams)));
  PaStreamParameters params{};
  params.device = device;
  params.channelCount = stream->m_channels;
  params.sampleFormat = paInt16;
  params.suggestedLatency = info->defaultLowOutputLatency;
  // The device's own rate and period: anything else is refused or makes the
  // callbacks bursty.
  PaError rc = Pa_OpenStream(&stream->m_stream, nullptr, &params, rate,
                             paFramesPerBufferUnspecified, paNoFlag, streamCallback, stream.get());
  if (rc != paNoError) {
    error = "cannot open the device: " + errorText(rc);
    stream->m_stream = nullptr;
    return nullptr;
  }
  rc = Pa_SetStreamFinishedCallback(stream->m_stream, streamFinished);
  if (rc != paNoError) {
    error = "cannot watch the device: " + errorText(rc);
    return nullptr;
  }
  stream->m_heartbeat.starting(steadyNowNs());
  rc = Pa_StartStream(stream->m_stream);
  if (rc != paNoError) {
    error = "cannot start the device: " + errorText(rc);
    return nullptr;
  }
  return stream;
}

PortAudioStream::~PortAudioStream() {
  close();
  m_openStreams->fetch_sub(1, std::memory_order_release);
}

void PortAudioStream::close() noexcept {
  if (m_closed) return;
  m_closed = true;
  if (m_stream == nullptr) return;
  // Abort rather than stop: nothing queued is worth waiting for, and a
  // device that went away may never drain. Errors here cannot be acted on
  // beyond letting the stream go.
  if (Pa_IsStreamStopped(m_stream) == 0) Pa_AbortStream(m_stream);
  Pa_CloseStream(m_stream);
}

// audio thread
void PortAudioStream::process(std::int16_t* out, unsigned long frames) noexcept {
  const std::int64_t now = steadyNowNs();
  m_heartbeat.beat(now, static_cast<int>(frames));
  m_mixer->render(out, static_cast<int>(frames), m_channels, now);
}

std::optional<std::string> PortAudioStream::failure(std::int64_t nowNs,
                                                    std::int64_t stallNs) const {
  if (m_finished.load(std::memory_order_relaxed)) return "the output device stopped";
  const PaError active = Pa_IsStreamActive(m_stream);
  if (active < 0) return "the output device failed: " + errorText(active);
  if (active == 0) return "the output device stopped (its card or sound server went away)";
  if (m_heartbeat.stalled(nowNs, stallNs)) return "the output device stopped asking for sound";
  return std::nullopt;
}

}  // namespace quillon::audio
