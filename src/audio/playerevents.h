// What a player tells its owner. Every call arrives on the UI thread from the
// event loop, never from inside one of the player's own operations.
#pragma once

#include <string>

#include "audio/audioformat.h"

namespace quillon::audio {

class PlayerEvents {
 public:
  virtual ~PlayerEvents() = default;

  // The queue wants another block.
  virtual void RequestOnLoadArray() = 0;
  // The file's last block has played: MarkEndOfFile was called and everything
  // queued before it has been heard.
  virtual void EndPlay() = 0;
  // Progress, every 50 ms while the output is open. `currentSamples` is
  // PlayedSamples at the time; the levels are peak values 0..32767.
  virtual void Timer(FrameCount currentSamples, int levelLeft, int levelRight) = 0;
  // The device under this player failed (unplugged, server gone). The output
  // is silent from now on; the owner should stop.
  virtual void DeviceFailed(const std::string& reason) = 0;
};

}  // namespace quillon::audio
