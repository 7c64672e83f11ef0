#include "support/fakeengine.h"

#include "support/simulatedplayer.h"

namespace quillon::test {

std::unique_ptr<audio::Player> FakeEngine::createPlayer() {
  return std::make_unique<audio::SimulatedPlayer>(clock, devices);
}

}  // namespace quillon::test
