// An engine for a cart on real files through the device layer: FFmpeg reads
// them, the device player plays them on the devices of a DeviceManager made
// with the given options, events on a manual clock the test runs.
// Single-threaded (the test's thread is the UI thread).
#pragma once

#include <memory>

#include "audio/engine.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/manualscheduler.h"
#include "audio/portaudio/deviceplayer.h"

namespace quillon::test {

class DeviceEngine : public audio::Engine {
 public:
  explicit DeviceEngine(audio::DeviceManager::Options options)
      : devices(std::make_unique<audio::DeviceManager>(clock, options)) {}

  std::unique_ptr<audio::Reader> createReader() override { return media.createReader(); }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    return std::make_unique<audio::DevicePlayer>(clock, *devices);
  }
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  std::unique_ptr<audio::DeviceManager> devices;
  audio::FfmpegMedia media;
};

}  // namespace quillon::test
