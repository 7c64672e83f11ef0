// A block on its way to the device: stereo 16-bit frames at the device's
// rate, made on the UI thread, read by the audio thread, freed on the UI
// thread once the audio thread hands it back.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/audioformat.h"

namespace quillon::audio {

struct VoiceBlock {
  std::vector<std::int16_t> samples;  // interleaved left, right
  // The play it belongs to: a block of an older play is dropped unplayed.
  std::uint32_t epoch = 0;
  // The file's last block (possibly empty): once it has played, the play ends.
  bool endOfFile = false;

  FrameCount frames() const { return static_cast<FrameCount>(samples.size() / 2); }
};

}  // namespace quillon::audio
