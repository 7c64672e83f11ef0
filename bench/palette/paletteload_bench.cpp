// Opening a palette of 26 real files of mixed types (MP3, WAV, OGG, WMA)
// into 26 carts, each file analysed by FFmpeg: 30-second files, then 5-minute
// ones. Every iteration starts with a fresh engine, so no length is cached.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cart/cartouche.h"
#include "palette/palettecarts.h"
#include "support/ffmpegtestengine.h"

namespace {

namespace fs = std::filesystem;
using namespace quillon;

using BenchEngine = quillon::test::FfmpegTestEngine;

// Four files of that length, one per type, made once by the ffmpeg tool, and
// a palette naming them in turn on all 26 carts; nothing when ffmpeg failed.
std::optional<fs::path> paletteOf(int seconds) {
  const fs::path folder = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(seconds));
  fs::create_directories(folder);
  const char* types[] = {"mp3", "wav", "ogg", "wma"};
  std::string palette;
  for (int i = 0; i < palette::kPaletteCarts; ++i) {
    const fs::path file = folder / ("music." + std::string(types[i % 4]));
    if (!fs::exists(file)) {
      const std::string command =
          "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
          "sine=frequency=440:duration=" +
          std::to_string(seconds) + " -ar 44100 -ac 2 '" + file.string() + "'";
      if (std::system(command.c_str()) != 0) return std::nullopt;
    }
    palette += "[" + std::to_string(i) + "]\nTITLE=" + file.string() +
               "\nVOLUME=80\nLOOP=0\nFADEIN=1\nFADEOUT=1\n";
  }
  const fs::path pal = folder / "bench.pal";
  std::FILE* out = std::fopen(pal.c_str(), "wb");
  if (out == nullptr) return std::nullopt;
  const bool written = std::fwrite(palette.data(), 1, palette.size(), out) == palette.size();
  if (std::fclose(out) != 0 || !written) return std::nullopt;
  return pal;
}

void BM_LoadPaletteFileOfRealFiles(benchmark::State& state) {
  const std::optional<fs::path> pal = paletteOf(static_cast<int>(state.range(0)));
  if (!pal) {
    state.SkipWithError("could not make the files with ffmpeg");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    auto engine = std::make_unique<BenchEngine>();
    std::vector<std::unique_ptr<cart::Cartouche>> owned;
    std::vector<cart::Cartouche*> carts;
    for (int i = 0; i < palette::kPaletteCarts; ++i) {
      owned.push_back(std::make_unique<cart::Cartouche>(*engine));
      carts.push_back(owned.back().get());
    }
    state.ResumeTiming();

    const palette::PaletteLoadReport report = palette::LoadPaletteFile(carts, *pal);

    state.PauseTiming();
    if (!report.missingFiles.empty()) state.SkipWithError("a file could not be analysed");
    owned.clear();
    engine.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadPaletteFileOfRealFiles)->Arg(30)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
