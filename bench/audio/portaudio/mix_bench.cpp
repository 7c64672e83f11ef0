// CPU of the mix: one device period (256 frames at 48 kHz, 5.33 ms) with 26
// voices, and the UI-side preparation of a block (gain and resampling).
// 2 % of one core is 107 us per period.
#include <benchmark/benchmark.h>

#include <cmath>

#include "audio/gain.h"
#include "audio/portaudio/mixer.h"
#include "audio/portaudio/rateconverter.h"

namespace quillon::audio {
namespace {

constexpr int kDeviceRate = 48000;
constexpr int kPeriod = 256;
constexpr int kVoices = 26;

AudioBlock sine(int rate, int frames, long first) {
  AudioBlock b;
  b.sampleRate = rate;
  for (int i = 0; i < frames; ++i) {
    const auto s = static_cast<std::int16_t>(
        std::lrint(20000 * std::sin(2 * M_PI * 440.0 * static_cast<double>(first + i) / rate)));
    b.samples.push_back(s);
    b.samples.push_back(s);
  }
  return b;
}

// 100 ms blocks of a 44.1 kHz file, scaled and resampled as the player does.
std::vector<std::unique_ptr<VoiceBlock>> preparedBlocks(int count) {
  RateConverter converter;
  std::string error;
  converter.configure({44100, 2}, kDeviceRate, error);
  Gain gain;
  std::vector<std::unique_ptr<VoiceBlock>> blocks;
  for (int i = 0; i < count; ++i) {
    auto b = std::make_unique<VoiceBlock>();
    AudioBlock scaled = sine(44100, 4410, 4410L * i);
    gain.applyInPlace(scaled, 80, {}, 0);
    converter.convert(scaled.samples.data(), scaled.frames(), b->samples, error);
    blocks.push_back(std::move(b));
  }
  return blocks;
}

// 26 voices at full level, steady: the common case.
void BM_MixPeriod26VoicesPlaying(benchmark::State& state) {
  Mixer mixer(kDeviceRate);
  for (int v = 0; v < kVoices; ++v) {
    Voice* voice = mixer.claimVoice();
    voice->command(true);
    for (auto& b : preparedBlocks(55)) voice->push(std::move(b));  // 5.5 s each
  }
  std::vector<std::int16_t> out(2 * kPeriod);
  for (auto _ : state) {
    mixer.render(out.data(), kPeriod, 2, 0);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixPeriod26VoicesPlaying)->Iterations(1000)->Unit(benchmark::kMicrosecond);

// The worst period: all 26 voices restarted at once, so every frame of every
// voice is in a fade (the old play fading out, the new one fading in).
void BM_MixPeriod26VoicesAllRestarting(benchmark::State& state) {
  Mixer mixer(kDeviceRate);
  std::vector<Voice*> voices;
  for (int v = 0; v < kVoices; ++v) {
    voices.push_back(mixer.claimVoice());
    voices.back()->command(true);
    for (auto& b : preparedBlocks(2)) voices.back()->push(std::move(b));
  }
  auto blocks = preparedBlocks(8);
  std::vector<std::int16_t> out(2 * kPeriod);
  std::size_t next = 0;
  for (auto _ : state) {
    for (Voice* v : voices) {
      v->command(true);
      // Reuse prepared blocks: copying 20 KB is UI-side work, not timed.
      state.PauseTiming();
      auto block = std::make_unique<VoiceBlock>(*blocks[next++ % blocks.size()]);
      v->reclaim();
      state.ResumeTiming();
      v->push(std::move(block));
    }
    mixer.render(out.data(), kPeriod, 2, 0);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixPeriod26VoicesAllRestarting)->Iterations(300)->Unit(benchmark::kMicrosecond);

// UI side, once per 100 ms block and voice: the cart's gain and the resampler.
void BM_PrepareBlock44100To48000(benchmark::State& state) {
  RateConverter converter;
  std::string error;
  converter.configure({44100, 2}, kDeviceRate, error);
  Gain gain;
  const AudioBlock block = sine(44100, 4410, 0);
  std::vector<std::int16_t> out;
  for (auto _ : state) {
    out.clear();
    AudioBlock scaled = block;
    gain.applyInPlace(scaled, 80, {}, 0);
    converter.convert(scaled.samples.data(), scaled.frames(), out, error);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_PrepareBlock44100To48000)->Unit(benchmark::kMicrosecond);

// The resampler's share of it.
void BM_ResampleBlock44100To48000(benchmark::State& state) {
  RateConverter converter;
  std::string error;
  converter.configure({44100, 2}, kDeviceRate, error);
  const AudioBlock block = sine(44100, 4410, 0);
  std::vector<std::int16_t> out;
  for (auto _ : state) {
    out.clear();
    converter.convert(block.samples.data(), block.frames(), out, error);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ResampleBlock44100To48000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quillon::audio
