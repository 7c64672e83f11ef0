#include "audio/portaudio/rateconverter.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace quillon::audio {

namespace {

std::string ffmpegError(const char* what, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return std::string(what) + ": " + text;
}

}  // namespace

RateConverter::~RateConverter() { swr_free(&m_context); }

bool RateConverter::configure(const AudioFormat& in, int deviceRate, std::string& error) {
  swr_free(&m_context);
  if (!in.valid() || in.channels > 2 || deviceRate <= 0) {
    error = "unsupported format";
    return false;
  }
  m_in = in;
  m_deviceRate = deviceRate;
  if (in.sampleRate == deviceRate) return true;  // no resampling: exact and immediate

  AVChannelLayout layout;
  av_channel_layout_default(&layout, in.channels);
  int rc = swr_alloc_set_opts2(&m_context, &layout, AV_SAMPLE_FMT_S16, deviceRate, &layout,
                               AV_SAMPLE_FMT_S16, in.sampleRate, 0, nullptr);
  av_channel_layout_uninit(&layout);
  if (rc < 0) {
    error = ffmpegError("cannot set up the resampler", rc);
    swr_free(&m_context);
    return false;
  }
  rc = swr_init(m_context);
  if (rc < 0) {
    error = ffmpegError("cannot start the resampler", rc);
    swr_free(&m_context);
    return false;
  }
  return true;
}

bool RateConverter::convert(const std::int16_t* samples, FrameCount frames,
                            std::vector<std::int16_t>& out, std::string& error) {
  if (m_context == nullptr) {
    toStereo(samples, static_cast<std::size_t>(frames), out);
    return true;
  }
  const auto* in = reinterpret_cast<const std::uint8_t*>(samples);
  const std::uint8_t* planes[1] = {in};
  return run(planes, static_cast<int>(frames), out, error);
}

bool RateConverter::flush(std::vector<std::int16_t>& out, std::string& error) {
  if (m_context == nullptr) return true;
  return run(nullptr, 0, out, error);
}

bool RateConverter::reset(std::string& error) {
  if (m_context == nullptr) return true;
  // swr_init on a configured context drops whatever it holds.
  const int rc = swr_init(m_context);
  if (rc < 0) {
    error = ffmpegError("cannot restart the resampler", rc);
    return false;
  }
  return true;
}

bool RateConverter::run(const std::uint8_t** in, int frames, std::vector<std::int16_t>& out,
                        std::string& error) {
  const int capacity = swr_get_out_samples(m_context, frames);
  if (capacity < 0) {
    error = ffmpegError("resampler", capacity);
    return false;
  }
  m_scratch.resize(static_cast<std::size_t>(capacity + 1) *
                   static_cast<std::size_t>(m_in.channels));
  auto* dst = reinterpret_cast<std::uint8_t*>(m_scratch.data());
  const int produced = swr_convert(m_context, &dst, capacity + 1, in, frames);
  if (produced < 0) {
    error = ffmpegError("resampler", produced);
    return false;
  }
  toStereo(m_scratch.data(), static_cast<std::size_t>(produced), out);
  return true;
}

void RateConverter::toStereo(const std::int16_t* samples, std::size_t frames,
                             std::vector<std::int16_t>& out) const {
  if (m_in.channels == 2) {
    out.insert(out.end(), samples, samples + 2 * frames);
    return;
  }
  out.reserve(out.size() + 2 * frames);
  for (std::size_t f = 0; f < frames; ++f) {
    out.push_back(samples[f]);
    out.push_back(samples[f]);
  }
}

}  // namespace quillon::audio
