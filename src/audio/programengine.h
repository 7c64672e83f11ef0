// The program's engine: files read by FFmpeg, players on the machine's output
// devices (the null device when there is none), events on Qt's loop.
// UI thread.
#pragma once

#include <memory>

#include "audio/engine.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/qtscheduler.h"
#include "audio/simulateddevices.h"

namespace quillon::audio {

class ProgramEngine : public Engine {
 public:
  ProgramEngine();
  ~ProgramEngine() override;

  std::unique_ptr<Reader> createReader() override { return m_media.createReader(); }
  std::unique_ptr<Information> createInformation() override { return m_media.createInformation(); }
  std::unique_ptr<Player> createPlayer() override;
  UiScheduler& scheduler() override { return m_scheduler; }

 private:
  QtScheduler m_scheduler;
  SimulatedDevices m_devices;
  FfmpegMedia m_media;
};

}  // namespace quillon::audio
