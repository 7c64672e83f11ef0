// Cost of scaling one 100 ms block, the work a cart does per block fed.
#include <benchmark/benchmark.h>

#include "audio/gain.h"

namespace {

void BM_ApplyGainBlock(benchmark::State& state) {
  quillon::audio::AudioBlock block;
  block.channels = 2;
  block.sampleRate = 44100;
  block.samples.assign(4410 * 2, 12345);
  quillon::audio::Gain gain;
  float g = 50.f;
  for (auto _ : state) {
    g = g == 50.f ? 60.f : 50.f;                // a new gain each time: the glide runs
    quillon::audio::AudioBlock scaled = block;  // the feed's own block, as the cart's
    gain.applyInPlace(scaled, g, {}, 0);
    benchmark::DoNotOptimize(scaled.samples.data());
  }
}
BENCHMARK(BM_ApplyGainBlock);

}  // namespace
