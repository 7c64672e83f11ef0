// A window resize runs the whole layout (panels, the grid of 26 carts, the
// scroll bar); while the operator drags the border it runs for every step
// of the drag, so it must stay far below a frame's time.
#include <benchmark/benchmark.h>

#include "app/windowgeometry.h"

namespace {

void BM_WindowResize(benchmark::State& state) {
  quillon::app::WindowGeometry geometry;
  float width = 12060;
  for (auto _ : state) {
    width = width > 30000 ? 12060 : width + 15;  // one pixel wider each time
    geometry.resizeWindow(width, 12000);
    benchmark::DoNotOptimize(geometry.VScroll1());
  }
}
BENCHMARK(BM_WindowResize);

void BM_ArrangeCarts(benchmark::State& state) {
  quillon::app::WindowGeometry geometry;
  for (auto _ : state) {
    geometry.ArrangeCarts();
    benchmark::DoNotOptimize(geometry.cart(25));
  }
}
BENCHMARK(BM_ArrangeCarts);

}  // namespace
