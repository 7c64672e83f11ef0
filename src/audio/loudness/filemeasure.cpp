#include "audio/loudness/filemeasure.h"

#include <ebur128.h>

#include <cmath>
#include <memory>

#include "audio/ffmpeg/ffmpegreader.h"

namespace quillon::audio {

namespace {

// About 1.5 s at 44.1 kHz: few calls, little memory.
constexpr FrameCount kFramesPerRead = 65536;

struct StateDeleter {
  void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using StatePtr = std::unique_ptr<ebur128_state, StateDeleter>;

LoudnessResult failure(std::string error) { return {std::nullopt, std::move(error)}; }

std::string describe(int code) {
  switch (code) {
    case EBUR128_ERROR_NOMEM:
      return "out of memory";
    case EBUR128_ERROR_INVALID_MODE:
      return "invalid mode";
    case EBUR128_ERROR_INVALID_CHANNEL_INDEX:
      return "invalid channel";
    default:
      return "error " + std::to_string(code);
  }
}

}  // namespace

LoudnessResult measureFileLoudness(const std::string& path, const std::atomic<bool>& cancelled) {
  FfmpegReader reader(nullptr);
  if (reader.OpenFile(path) < 0) return failure(reader.lastError());
  const AudioFormat format = reader.StreamFormat();
  const auto channels = static_cast<unsigned>(format.channels);
  StatePtr state(ebur128_init(channels, static_cast<unsigned long>(format.sampleRate),
                              EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK));
  if (!state)
    return failure("cannot measure a stream of " + std::to_string(format.channels) +
                   " channels at " + std::to_string(format.sampleRate) + " Hz");
  if (channels == 1) {
    // Played on both speakers: as loud as the same signal in both channels.
    const int code = ebur128_set_channel(state.get(), 0, EBUR128_DUAL_MONO);
    if (code != EBUR128_SUCCESS) return failure("cannot measure mono: " + describe(code));
  }

  AudioBlock block;
  for (;;) {
    if (cancelled.load(std::memory_order_relaxed)) return failure("measurement cancelled");
    const ReadResult read = reader.ReadBlock(kFramesPerRead, block);
    if (read == ReadResult::End) break;
    if (read != ReadResult::Data) return failure(reader.lastError());
    const int code = ebur128_add_frames_short(state.get(), block.samples.data(),
                                              static_cast<std::size_t>(block.frames()));
    if (code != EBUR128_SUCCESS) return failure("measurement failed: " + describe(code));
  }

  double integrated = 0.0;
  int code = ebur128_loudness_global(state.get(), &integrated);
  if (code != EBUR128_SUCCESS) return failure("measurement failed: " + describe(code));
  if (!std::isfinite(integrated)) return failure("the file is silent");
  double peak = 0.0;
  for (unsigned c = 0; c < channels; ++c) {
    double channelPeak = 0.0;
    code = ebur128_true_peak(state.get(), c, &channelPeak);
    if (code != EBUR128_SUCCESS) return failure("measurement failed: " + describe(code));
    peak = std::max(peak, channelPeak);
  }
  LoudnessMeasurement measured;
  measured.integratedLufs = integrated;
  measured.truePeakDbtp = 20.0 * std::log10(peak);  // peak > 0: the file is not silent
  return {measured, {}};
}

}  // namespace quillon::audio
