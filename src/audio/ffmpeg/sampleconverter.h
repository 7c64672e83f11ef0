// Turns decoded frames into 16-bit signed interleaved samples at the file's
// own rate: mono stays mono, stereo stays stereo, more channels are mixed
// down to stereo with libswresample's standard matrix, unscaled (centre and
// surrounds at -3 dB, LFE left out; a sum beyond full scale saturates). A later frame whose rate or
// layout differs from the first one's is resampled or remixed to it. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audioformat.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

struct AVFrame;
struct SwrContext;

namespace quillon::audio {

class SampleConverter {
 public:
  SampleConverter() = default;
  ~SampleConverter();
  SampleConverter(const SampleConverter&) = delete;
  SampleConverter& operator=(const SampleConverter&) = delete;

  // The output of a stream whose first decoded frame is `first`; not valid
  // when that frame has no rate or no channels.
  static AudioFormat outputFormatFor(const AVFrame& first);

  void setOutputFormat(AudioFormat format);
  AudioFormat outputFormat() const { return m_output; }

  // Appends `frame` converted to `out`. False, with `error`, when the
  // conversion fails.
  bool append(const AVFrame& frame, std::vector<std::int16_t>& out, std::string& error);

  // Forgets what the resampler holds (after a seek).
  void reset();

 private:
  bool configureFor(const AVFrame& frame, std::string& error);

  AudioFormat m_output;
  SwrContext* m_swr = nullptr;
  // What m_swr was set up for.
  int m_inRate = 0;
  AVSampleFormat m_inFormat = AV_SAMPLE_FMT_NONE;
  AVChannelLayout m_inLayout{};
  std::vector<std::int16_t> m_scratch;  // what swresample writes into
};

}  // namespace quillon::audio
