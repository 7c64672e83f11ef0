// Cost of the settings layer: loading and saving a full palette in memory and
// on disk, and the worst a hostile file at the size bound can do.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "palette/boundedread.h"
#include "palette/inidocument.h"
#include "palette/paletteformat.h"

namespace {

using namespace quillon::palette;

PaletteEntries fullPalette() {
  PaletteEntries entries;
  for (int i = 0; i < kPaletteCarts; ++i) {
    entries[static_cast<std::size_t>(i)] = {
        "/home/studio/jingles/morning show/cart " + std::to_string(i) + ".mp3", 80, i % 2 == 0,
        true, false};
  }
  return entries;
}

// Peak resident memory so far. Run one benchmark per process (with
// --benchmark_filter) for a meaningful growth figure: the peak never falls.
long peakMemoryKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

std::string fullPaletteText() {
  IniFile file = IniFile::load("/nonexistent/palette.pal");
  setPaletteEntries(file, fullPalette());
  return file.document().serialise();
}

void BM_ParsePaletteText(benchmark::State& state) {
  const std::string text = fullPaletteText();
  for (auto _ : state) benchmark::DoNotOptimize(IniDocument::parse(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParsePaletteText);

void BM_UpdatePaletteText(benchmark::State& state) {
  const std::string text = fullPaletteText();
  for (auto _ : state) {  // every VOLUME line changes
    IniDocument doc = IniDocument::parse(text);
    for (int i = 0; i < kPaletteCarts; ++i) doc.set(std::to_string(i), kVolumeKey, "50");
    benchmark::DoNotOptimize(doc.serialise());
  }
}
BENCHMARK(BM_UpdatePaletteText);

// The whole save: read, change, write a temporary file, flush it, rename.
void BM_SavePaletteToDisk(benchmark::State& state) {
  std::string folder = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
  if (::mkdtemp(folder.data()) == nullptr) {
    state.SkipWithError("mkdtemp failed");
    return;
  }
  const auto path = std::filesystem::path(folder) / "bench.pal";
  PaletteEntries entries = fullPalette();
  int volume = 0;
  for (auto _ : state) {
    entries[0].volume = volume++ % 100;
    if (!writePalette(path, entries)) state.SkipWithError("write failed");
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SavePaletteToDisk)->Unit(benchmark::kMillisecond);

// A file at the size bound made of the shortest distinct keys: the most
// records and index entries the parser can be made to hold.
void BM_ParseHostileFileAtTheBound(benchmark::State& state) {
  std::string text = "[0]\n";
  for (int i = 0; text.size() < kMaxSettingsFileBytes - 16; ++i) {
    text += std::to_string(i) + "=\n";
  }
  const long before = peakMemoryKb();
  for (auto _ : state) {
    IniDocument doc = IniDocument::parse(text);
    benchmark::DoNotOptimize(doc.value("0", "TITLE"));
  }
  state.counters["peak_growth_MB"] = static_cast<double>(peakMemoryKb() - before) / 1024;
}
BENCHMARK(BM_ParseHostileFileAtTheBound)->Unit(benchmark::kMillisecond);

void BM_ParseHostileSectionsAtTheBound(benchmark::State& state) {
  std::string text;
  for (int i = 0; text.size() < kMaxSettingsFileBytes - 16; ++i) {
    text += "[" + std::to_string(i) + "]\n";
  }
  const long before = peakMemoryKb();
  for (auto _ : state) benchmark::DoNotOptimize(IniDocument::parse(text));
  state.counters["peak_growth_MB"] = static_cast<double>(peakMemoryKb() - before) / 1024;
}
BENCHMARK(BM_ParseHostileSectionsAtTheBound)->Unit(benchmark::kMillisecond);

void BM_ParseBlankLinesAtTheBound(benchmark::State& state) {
  const std::string text(kMaxSettingsFileBytes, '\n');
  for (auto _ : state) benchmark::DoNotOptimize(IniDocument::parse(text));
}
BENCHMARK(BM_ParseBlankLinesAtTheBound)->Unit(benchmark::kMillisecond);

}  // namespace
