// The program's engine: files read by FFmpeg (opened and decoded ahead on the
// read pool's workers, never on the UI thread), players on the machine's output devices through
// PortAudio (the null device when there is none), events on Qt's loop. UI thread.
#pragma once

#include <memory>

#include "audio/backgroundinformation.h"
#include "audio/engine.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/loudness/loudnessservice.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/qtscheduler.h"
#include "audio/readahead.h"

namespace quillon::audio {

class ProgramEngine : public Engine {
 public:
  ProgramEngine();
  ~ProgramEngine() override;

  std::unique_ptr<Reader> createReader() override {
    return std::make_unique<ReadAheadReader>([this] { return m_media.createReader(); }, m_readPool,
                                             m_scheduler);
  }
  std::unique_ptr<Information> createInformation() override {
    return std::make_unique<BackgroundInformation>([this] { return m_media.createInformation(); },
                                                   m_readPool, m_scheduler);
  }
  std::unique_ptr<Player> createPlayer() override;
  // The measurement starts with the first meter asked for: a program whose
  // carts are not normalised runs no thread for it.
  std::unique_ptr<LoudnessMeter> createLoudnessMeter() override;
  UiScheduler& scheduler() override { return m_scheduler; }

 private:
  QtScheduler m_scheduler;
  DeviceManager m_devices;  // outlives every player it made
  FfmpegMedia m_media;
  ReadPool m_readPool;  // outlives every reader it serves
  std::unique_ptr<LoudnessService> m_loudness;
};

}  // namespace quillon::audio
