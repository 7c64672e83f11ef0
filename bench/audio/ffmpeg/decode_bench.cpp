// Decoding speed: the reader against a bare FFmpeg loop over the same 30 s
// file (target: at most 1.10 times its cost), and the cost of a seek from
// the position bar in a 5-minute file. The x_realtime counter is seconds of
// audio decoded per second of CPU.
#include <benchmark/benchmark.h>

extern "C" {
#include <libavutil/log.h>
}

#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "audio/ffmpeg/lengthcache.h"
#include "barefeedloop.h"
#include "benchfiles.h"

namespace {

using namespace quillon;
using bench::Length;

void BM_ReaderDecode(benchmark::State& state, const char* type) {
  const std::string path = bench::benchFile(type, Length::ThirtySeconds);
  audio::FfmpegMedia media;
  media.createInformation()->OpenInfo(path);  // as after a bind
  auto reader = media.createReader();
  audio::AudioBlock block;
  for (auto _ : state) {
    if (reader->OpenFile(path) != 0) state.SkipWithError("the reader refused the file");
    const audio::FrameCount blockFrames = reader->StreamFormat().sampleRate / 10;
    while (reader->ReadBlock(blockFrames, block) == audio::ReadResult::Data) {
      benchmark::DoNotOptimize(block.samples.data());
    }
    reader->CloseFile();
  }
  state.counters["x_realtime"] = benchmark::Counter(
      bench::benchSeconds(Length::ThirtySeconds) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

void BM_BareDecode(benchmark::State& state, const char* type) {
  av_log_set_level(AV_LOG_QUIET);
  const std::string path = bench::benchFile(type, Length::ThirtySeconds);
  std::vector<std::int16_t> scratch;
  for (auto _ : state) {
    if (bench::decodeWithBareLoop(path, scratch) < 0) state.SkipWithError("FFmpeg failed");
    benchmark::DoNotOptimize(scratch.data());
  }
  state.counters["x_realtime"] = benchmark::Counter(
      bench::benchSeconds(Length::ThirtySeconds) * static_cast<double>(state.iterations()),
      benchmark::Counter::kIsRate);
}

// Release of the position bar: a seek, then the first 100 ms block.
void BM_SeekAndRead(benchmark::State& state, const char* type) {
  const std::string path = bench::benchFile(type, Length::FiveMinutes);
  audio::FfmpegMedia media;
  auto reader = media.createReader();
  if (reader->OpenFile(path) != 0) state.SkipWithError("the reader refused the file");
  const audio::FrameCount total = reader->TotalSamples();
  audio::AudioBlock block;
  std::uint64_t step = 0;
  for (auto _ : state) {
    step = step * 6364136223846793005ull + 1442695040888963407ull;
    const audio::FrameCount target =
        static_cast<audio::FrameCount>((step >> 33) % static_cast<std::uint64_t>(total));
    reader->SeekSample(target);
    reader->ReadBlock(4410, block);
    benchmark::DoNotOptimize(block.samples.data());
  }
}

QUILLON_FOR_EACH_AUDIO_TYPE(BM_ReaderDecode);
QUILLON_FOR_EACH_AUDIO_TYPE(BM_BareDecode);
QUILLON_FOR_EACH_AUDIO_TYPE(BM_SeekAndRead);

}  // namespace
