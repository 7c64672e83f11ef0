// STAND-IN, to be replaced by the engine on the FFmpeg reader and the
// PortAudio device list: the null device on Qt's event loop, with a reader
// and an information that refuse every file. UI thread.
#pragma once

#include "audio/engine.h"
#include "audio/qtscheduler.h"
#include "audio/simulateddevices.h"

namespace quillon::app {

class TemporaryEngine : public audio::Engine {
 public:
  std::unique_ptr<audio::Reader> createReader() override;
  std::unique_ptr<audio::Information> createInformation() override;
  std::unique_ptr<audio::Player> createPlayer() override;
  audio::UiScheduler& scheduler() override { return m_scheduler; }

 private:
  audio::QtScheduler m_scheduler;
  audio::SimulatedDevices m_devices;
};

}  // namespace quillon::app
