// The UI thread's cost of showing playing carts: one second of 26 playing
// cart widgets (20 Timer events each, every one repainting the running time
// at once, the trace and the thumb) including the paints, off screen; and
// the first paint of a cart. A studio machine keeps up when a second of
// play costs a small fraction of a second.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <memory>
#include <vector>

#include "cart/cartwidget.h"
#include "support/fakeengine.h"

namespace {

using namespace std::chrono_literals;

void BM_CartWidgetsPlayingOneSecond(benchmark::State& state) {
  quillon::test::FakeEngine engine;
  quillon::test::FakeFile file;
  file.frames = 44100 * 600;
  engine.media.add("/bench/bed.wav", file);
  QWidget canvas;
  canvas.resize(800, 1600);
  for (int i = 0; i < state.range(0); ++i) {
    auto* cart = new quillon::cart::CartWidget(engine, &canvas);
    cart->move((i % 4) * 174, (i / 4) * 117);
    cart->cart().SetTitle("/bench/bed.wav");
    cart->cart().playClick();
  }
  canvas.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    for (int step = 0; step < 20; ++step) {
      engine.clock.advance(50ms);
      QCoreApplication::processEvents();  // the paints the ticks asked for
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CartWidgetsPlayingOneSecond)->Arg(1)->Arg(26)->Unit(benchmark::kMillisecond);

void BM_CartWidgetFirstPaint(benchmark::State& state) {
  quillon::test::FakeEngine engine;
  for (auto _ : state) {
    quillon::cart::CartWidget cart(engine);
    benchmark::DoNotOptimize(cart.grab());
  }
}
BENCHMARK(BM_CartWidgetFirstPaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
