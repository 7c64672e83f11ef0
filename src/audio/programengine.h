// The program's engine: files read by FFmpeg (decoded ahead on a thread of
// their own), players on the machine's output devices through PortAudio (the
// null device when there is none), events on Qt's loop.
// UI thread.
#pragma once

#include <memory>

#include "audio/engine.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/qtscheduler.h"
#include "audio/readahead.h"

namespace quillon::audio {

class ProgramEngine : public Engine {
 public:
  ProgramEngine();
  ~ProgramEngine() override;

  std::unique_ptr<Reader> createReader() override {
    return std::make_unique<ReadAheadReader>(m_media.createReader(), m_readAhead);
  }
  std::unique_ptr<Information> createInformation() override { return m_media.createInformation(); }
  std::unique_ptr<Player> createPlayer() override;
  UiScheduler& scheduler() override { return m_scheduler; }

 private:
  QtScheduler m_scheduler;
  DeviceManager m_devices;  // outlives every player it made
  FfmpegMedia m_media;
  ReadAheadThread m_readAhead;
};

}  // namespace quillon::audio
