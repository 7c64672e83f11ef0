// The files the reader's benchmarks run on: 30 seconds and 5 minutes of each
// type at 44.1 kHz stereo, an MP3 with a 2 MB cover picture, and 100 MB of
// random bytes under each name. Made by the ffmpeg tool on first use and kept
// (see fixtureFolder()).
#pragma once

#include <benchmark/benchmark.h>

#include <string>

// Registers `bm` once per type, the type's name as its argument.
#define QUILLON_FOR_EACH_AUDIO_TYPE(bm)                             \
  BENCHMARK_CAPTURE(bm, mp3, "mp3")->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(bm, wav, "wav")->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(bm, wma, "wma")->Unit(benchmark::kMillisecond); \
  BENCHMARK_CAPTURE(bm, ogg, "ogg")->Unit(benchmark::kMillisecond)

namespace quillon::bench {

enum class Length { ThirtySeconds, FiveMinutes };

// `type`: "mp3", "wav", "wma" or "ogg"; "cover.mp3" for the MP3 with a cover.
std::string benchFile(const std::string& type, Length length);
double benchSeconds(Length length);
// 100 MB of random bytes named with `extension`.
std::string randomFile(const std::string& extension);

}  // namespace quillon::bench
