// Opening: the fire path (OpenFile and two 100 ms blocks; target under 5 ms,
// the 2 MB cover picture included), the information with its exact length
// (target under 3 ms for 30 s MP3, WAV and OGG files), and the refusal of
// 100 MB of random bytes under each name, with the bytes it read.
#include <benchmark/benchmark.h>

#include "audio/ffmpeg/ffmpeginformation.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "benchfiles.h"

namespace {

using namespace quillon;
using bench::Length;

void firePath(benchmark::State& state, const std::string& path, bool afterBind) {
  audio::FfmpegMedia media;
  if (afterBind) media.createInformation()->OpenInfo(path);
  audio::AudioBlock block;
  for (auto _ : state) {
    // A fresh reader each time when nothing was bound: no cache to help.
    auto reader = afterBind ? media.createReader() : std::make_unique<audio::FfmpegReader>(nullptr);
    if (reader->OpenFile(path) != 0) state.SkipWithError("the reader refused the file");
    const audio::FrameCount blockFrames = reader->StreamFormat().sampleRate / 10;
    reader->ReadBlock(blockFrames, block);
    reader->ReadBlock(blockFrames, block);
    benchmark::DoNotOptimize(block.samples.data());
  }
}

// As a cart starts: its file was bound, so its length is known.
void BM_FirePath(benchmark::State& state, const char* type) {
  firePath(state, bench::benchFile(type, Length::ThirtySeconds), true);
}

// A start with nothing known: the reader counts the length itself.
void BM_FirePathUnbound(benchmark::State& state, const char* type) {
  firePath(state, bench::benchFile(type, Length::ThirtySeconds), false);
}

void openInfo(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    audio::FfmpegInformation information(nullptr);  // counts every time
    if (!information.OpenInfo(path)) state.SkipWithError("the information refused the file");
    benchmark::DoNotOptimize(information.InfoTotalSamples());
  }
}

void BM_OpenInfo30s(benchmark::State& state, const char* type) {
  openInfo(state, bench::benchFile(type, Length::ThirtySeconds));
}

void BM_OpenInfo5min(benchmark::State& state, const char* type) {
  openInfo(state, bench::benchFile(type, Length::FiveMinutes));
}

void BM_RefuseRandom100MB(benchmark::State& state, const char* extension) {
  const std::string path = bench::randomFile(extension);
  double bytes = 0;
  for (auto _ : state) {
    audio::FfmpegReader reader(nullptr);
    if (reader.OpenFile(path) == 0) state.SkipWithError("random bytes were accepted");
    bytes = static_cast<double>(reader.bytesRead());
  }
  state.counters["bytes_read"] = bytes;
}

QUILLON_FOR_EACH_AUDIO_TYPE(BM_FirePath);
BENCHMARK_CAPTURE(BM_FirePath, mp3_with_2MB_cover, "cover.mp3")->Unit(benchmark::kMillisecond);
QUILLON_FOR_EACH_AUDIO_TYPE(BM_FirePathUnbound);
BENCHMARK_CAPTURE(BM_FirePathUnbound, mp3_with_2MB_cover, "cover.mp3")
    ->Unit(benchmark::kMillisecond);
QUILLON_FOR_EACH_AUDIO_TYPE(BM_OpenInfo30s);
QUILLON_FOR_EACH_AUDIO_TYPE(BM_OpenInfo5min);
QUILLON_FOR_EACH_AUDIO_TYPE(BM_RefuseRandom100MB);

}  // namespace
