// Makes the audio components a cart or the window owns. One per process;
// the program's is assembled in main from the FFmpeg reader and the device
// layer, tests use one over simulated parts. UI thread.
#pragma once

#include <memory>

#include "audio/information.h"
#include "audio/loudness.h"
#include "audio/player.h"
#include "audio/reader.h"
#include "audio/scheduler.h"

namespace quillon::audio {

class Engine {
 public:
  virtual ~Engine() = default;

  virtual std::unique_ptr<Reader> createReader() = 0;
  virtual std::unique_ptr<Information> createInformation() = 0;
  virtual std::unique_ptr<Player> createPlayer() = 0;
  // A loudness meter for a cart whose gain is normalised; nothing where the
  // engine measures no loudness.
  virtual std::unique_ptr<LoudnessMeter> createLoudnessMeter() { return nullptr; }
  // The event loop the players raise their events through.
  virtual UiScheduler& scheduler() = 0;
};

}  // namespace quillon::audio
