#include "audio/ffmpeg/sampleconverter.h"

#include "audio/ffmpeg/ffmpegerrors.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace quillon::audio {
namespace {

// A layout swresample can mix from: a stream that only gives a channel count
// gets the usual layout for that count.
AVChannelLayout inputLayoutOf(const AVFrame& frame) {
  AVChannelLayout layout{};
  if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
      av_channel_layout_copy(&layout, &frame.ch_layout) < 0) {
    av_channel_layout_default(&layout, frame.ch_layout.nb_channels);
  }
  return layout;
}

// A mix down to fewer channels keeps the standard coefficients as they are
// (centre and surrounds at -3 dB), so that a surround file sounds as loud as
// its stereo version: mixed in floating point, then saturated at full scale
// like any sum. Left alone, swresample scales the whole matrix down for a
// 16-bit output until its largest row cannot clip, about 7.6 dB for 5.1.
int keepDownmixLevel(SwrContext* swr) {
  constexpr double kNoScaling = 1000.0;  // any bound above the largest row sum
  int result = av_opt_set_int(swr, "internal_sample_fmt", AV_SAMPLE_FMT_FLTP, 0);
  if (result >= 0) result = av_opt_set_double(swr, "rematrix_maxval", kNoScaling, 0);
  return result;
}

}  // namespace

SampleConverter::~SampleConverter() {
  swr_free(&m_swr);
  av_channel_layout_uninit(&m_inLayout);
}

AudioFormat SampleConverter::outputFormatFor(const AVFrame& first) {
  const int channels = first.ch_layout.nb_channels;
  return AudioFormat{first.sample_rate, channels <= 0 ? 0 : channels == 1 ? 1 : 2};
}

void SampleConverter::setOutputFormat(AudioFormat format) {
  m_output = format;
  reset();
}

void SampleConverter::reset() {
  swr_free(&m_swr);
  av_channel_layout_uninit(&m_inLayout);
  m_inRate = 0;
  m_inFormat = AV_SAMPLE_FMT_NONE;
}

bool SampleConverter::configureFor(const AVFrame& frame, std::string& error) {
  AVChannelLayout inLayout = inputLayoutOf(frame);
  const auto inFormat = static_cast<AVSampleFormat>(frame.format);
  if (m_swr != nullptr && frame.sample_rate == m_inRate && inFormat == m_inFormat &&
      av_channel_layout_compare(&inLayout, &m_inLayout) == 0) {
    av_channel_layout_uninit(&inLayout);
    return true;
  }
  reset();
  AVChannelLayout outLayout{};
  av_channel_layout_default(&outLayout, m_output.channels);
  int result = swr_alloc_set_opts2(&m_swr, &outLayout, AV_SAMPLE_FMT_S16, m_output.sampleRate,
                                   &inLayout, inFormat, frame.sample_rate, 0, nullptr);
  if (result >= 0 && inLayout.nb_channels > m_output.channels) result = keepDownmixLevel(m_swr);
  if (result >= 0) result = swr_init(m_swr);
  av_channel_layout_uninit(&outLayout);
  if (result < 0) {
    av_channel_layout_uninit(&inLayout);
    swr_free(&m_swr);
    error = "The samples cannot be converted: " + ffmpegErrorText(result);
    return false;
  }
  m_inLayout = inLayout;  // takes ownership
  m_inRate = frame.sample_rate;
  m_inFormat = inFormat;
  return true;
}

bool SampleConverter::append(const AVFrame& frame, std::vector<std::int16_t>& out,
                             std::string& error) {
  if (frame.nb_samples <= 0) return true;
  if (!m_output.valid() || frame.sample_rate <= 0 || frame.ch_layout.nb_channels <= 0) {
    error = "A decoded frame has no sample rate or no channels";
    return false;
  }
  if (!configureFor(frame, error)) return false;
  const int capacity = swr_get_out_samples(m_swr, frame.nb_samples);
  if (capacity < 0) {
    error = "The samples cannot be converted: " + ffmpegErrorText(capacity);
    return false;
  }
  // swresample writes into a buffer that only ever grows, then the samples
  // are appended: no zero-filling of `out` before every frame.
  const auto channels = static_cast<std::size_t>(m_output.channels);
  if (m_scratch.size() < static_cast<std::size_t>(capacity) * channels) {
    m_scratch.resize(static_cast<std::size_t>(capacity) * channels);
  }
  auto* target = reinterpret_cast<std::uint8_t*>(m_scratch.data());
  const int converted =
      swr_convert(m_swr, &target, capacity, const_cast<const std::uint8_t**>(frame.extended_data),
                  frame.nb_samples);
  if (converted < 0) {
    error = "The samples cannot be converted: " + ffmpegErrorText(converted);
    return false;
  }
  out.insert(out.end(), m_scratch.begin(),
             m_scratch.begin() +
                 static_cast<std::ptrdiff_t>(static_cast<std::size_t>(converted) * channels));
  return true;
}

}  // namespace quillon::audio
