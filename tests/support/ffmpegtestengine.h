// An engine for tests and benchmarks on real files: FFmpeg reads them, the
// simulated device plays them on a manual clock. Header only: whoever
// includes it links quillon_audio_ffmpeg. Single-threaded.
#pragma once

#include <memory>

#include "audio/engine.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/manualscheduler.h"
#include "support/simulateddevices.h"
#include "support/simulatedplayer.h"

namespace quillon::test {

class FfmpegTestEngine : public audio::Engine {
 public:
  std::unique_ptr<audio::Reader> createReader() override { return media.createReader(); }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    return std::make_unique<audio::SimulatedPlayer>(clock, devices);
  }
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  audio::SimulatedDevices devices;
  audio::FfmpegMedia media;
};

}  // namespace quillon::test
