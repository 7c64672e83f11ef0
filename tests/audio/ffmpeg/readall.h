// Reads a whole file through a reader, the way a cart feeds its player.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/reader.h"

namespace quillon::test {

// Everything from the read position to the end, in blocks of `blockFrames`.
// Stops at End or Failed; `failed` tells which.
inline std::vector<std::int16_t> readToEnd(audio::Reader& reader, audio::FrameCount blockFrames,
                                           bool* failed = nullptr) {
  std::vector<std::int16_t> samples;
  audio::AudioBlock block;
  for (;;) {
    const audio::ReadResult result = reader.ReadBlock(blockFrames, block);
    if (result != audio::ReadResult::Data) {
      if (failed != nullptr) *failed = result == audio::ReadResult::Failed;
      return samples;
    }
    samples.insert(samples.end(), block.samples.begin(), block.samples.end());
  }
}

}  // namespace quillon::test
