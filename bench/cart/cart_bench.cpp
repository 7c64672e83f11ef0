// The UI thread's cost of playing carts: Timer handling (running time, loop
// and fades, trace, thumb), feeding 100 ms blocks through the gain, on the
// simulated player, per second of sound. The program keeps up with 26 carts
// when this is a small fraction of a second.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "cart/cartouche.h"
#include "support/fakeengine.h"

namespace {

using namespace std::chrono_literals;

void BM_CartsPlayingOneSecond(benchmark::State& state) {
  quillon::test::FakeEngine engine;
  quillon::test::FakeFile file;
  file.frames = 44100 * 60;
  engine.media.add("/bench/bed.wav", file);

  std::vector<std::unique_ptr<quillon::cart::Cartouche>> carts;
  for (int i = 0; i < state.range(0); ++i) {
    auto cart = std::make_unique<quillon::cart::Cartouche>(engine);
    cart->SetTitle("/bench/bed.wav");
    cart->Setloop(1);
    cart->SetFadein(1);
    cart->SetFadeout(1);
    cart->SetVolume(80);
    cart->playClick();
    carts.push_back(std::move(cart));
  }
  for (auto _ : state) engine.clock.advance(1s);
  // One item: one cart playing for one second.
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CartsPlayingOneSecond)->Arg(1)->Arg(26)->Unit(benchmark::kMillisecond);

}  // namespace
