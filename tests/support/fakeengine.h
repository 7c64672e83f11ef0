// An engine for tests: fake files, simulated devices and a manual clock.
// Step the clock with `scheduler.advance(...)`. Single-threaded.
#pragma once

#include "audio/engine.h"
#include "audio/manualscheduler.h"
#include "support/simulateddevices.h"
#include "support/fakemedia.h"

namespace quillon::test {

class FakeEngine : public audio::Engine {
 public:
  std::unique_ptr<audio::Reader> createReader() override { return media.createReader(); }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override;
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  audio::SimulatedDevices devices;
  FakeMedia media;
};

}  // namespace quillon::test
