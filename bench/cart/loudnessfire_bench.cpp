// The fire path with loudness normalisation: a start and stop of a cart
// whose measurement has landed, against the same cart not normalised (first
// argument 0), at volume 100 or 80 (second argument). At 100 an un-normalised
// cart's blocks pass the gain untouched; at 80 both scale every sample, which
// isolates the cost of the normalisation itself.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "audio/loudness/loudnessservice.h"
#include "cart/cartouche.h"
#include "support/fakeengine.h"

namespace {

namespace fs = std::filesystem;

class LoudnessEngine : public quillon::test::FakeEngine {
 public:
  std::unique_ptr<quillon::audio::LoudnessMeter> createLoudnessMeter() override {
    return service.createMeter();
  }
  fs::path folder = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(::getpid()));
  quillon::audio::LoudnessService service{
      [](const std::string&, const std::atomic<bool>&) {
        return quillon::audio::LoudnessResult{quillon::audio::LoudnessMeasurement{-18.0, -9.0}, {}};
      },
      std::make_shared<quillon::audio::LoudnessCache>(folder / "loudness.tsv"), clock};
};

void BM_FireAndStop(benchmark::State& state) {
  LoudnessEngine engine;
  fs::create_directories(engine.folder);
  const std::string path = (engine.folder / "sting.wav").string();
  std::ofstream(path) << "sting";
  quillon::test::FakeFile file;
  file.frames = 44100 * 10;
  engine.media.add(path, file);
  quillon::cart::Cartouche cart(engine);
  if (state.range(0) != 0) cart.setLoudness(engine.createLoudnessMeter(), {-23.0, -1.0});
  cart.SetTitle(path);
  cart.SetVolume(static_cast<int>(state.range(1)));
  engine.service.waitUntilSettled();
  engine.clock.runPosted();
  for (auto _ : state) {
    cart.playClick();
    cart.stopClick();
  }
  if (state.range(0) != 0 && cart.normalisation() == 1.0) state.SkipWithError("not normalised");
  fs::remove_all(engine.folder);
}
BENCHMARK(BM_FireAndStop)->ArgsProduct({{0, 1}, {100, 80}})->Unit(benchmark::kMicrosecond);

}  // namespace
