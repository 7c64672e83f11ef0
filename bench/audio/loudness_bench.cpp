// Loudness measurement speed: a 3-minute file of each type (pink noise at
// 44.1 kHz stereo, made by the ffmpeg tool on first use), measured whole.
// x_realtime is seconds of audio measured per second of CPU; the target is
// at least 200 for MP3, so 26 carts of 3 minutes take under half a minute.
#include <benchmark/benchmark.h>

#include <atomic>
#include <string>

#include "audio/loudness/filemeasure.h"
#include "audiofixtures.h"

namespace {

using namespace quillon;

constexpr double kSeconds = 180.0;

std::string threeMinutes(const std::string& type) {
  static const std::pair<const char*, const char*> kEncoders[] = {
      {"mp3", "-c:a libmp3lame -b:a 192k"},
      {"wav", "-c:a pcm_s16le"},
      {"ogg", "-c:a libvorbis -q:a 5"},
      {"wma", "-c:a wmav2 -b:a 128k"},
  };
  for (const auto& [name, encoder] : kEncoders) {
    if (type != name) continue;
    const std::string path = test::fixtureFolder() + "/loudness-3min." + type;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
      std::fclose(f);
      return path;
    }
    const std::string source =
        "-f lavfi -i 'anoisesrc=color=pink:sample_rate=44100:duration=180:seed=3:amplitude=0.3' "
        "-ac 2 ";
    return test::runFfmpeg(source + encoder, path) ? path : "";
  }
  return "";
}

void BM_MeasureLoudness(benchmark::State& state, const char* type) {
  const std::string path = threeMinutes(type);
  if (path.empty()) state.SkipWithError("ffmpeg could not make the file");
  const std::atomic<bool> notCancelled{false};
  for (auto _ : state) {
    const audio::LoudnessResult result = audio::measureFileLoudness(path, notCancelled);
    if (!result.measurement) state.SkipWithError(result.error.c_str());
    benchmark::DoNotOptimize(result.measurement);
  }
  state.counters["x_realtime"] = benchmark::Counter(
      kSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

BENCHMARK_CAPTURE(BM_MeasureLoudness, mp3, "mp3")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureLoudness, wav, "wav")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureLoudness, ogg, "ogg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeasureLoudness, wma, "wma")->Unit(benchmark::kMillisecond);

}  // namespace
