// Audio data shared by the reader, the player and the gain.
#pragma once

#include <cstdint>
#include <vector>

namespace quillon::audio {

// Positions and lengths are frames (one sample per channel) of a file at the
// file's own rate. 64-bit so that no length or conversion can overflow.
using FrameCount = std::int64_t;

// What the reader hands to the player's SetFormat.
struct AudioFormat {
  int sampleRate = 0;  // frames per second
  int channels = 0;    // 1 or 2

  bool valid() const { return sampleRate > 0 && channels > 0; }
  friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

// A block of 16-bit signed interleaved samples. An empty block is the end of
// the file.
struct AudioBlock {
  std::vector<std::int16_t> samples;
  int channels = 2;
  int sampleRate = 44100;

  FrameCount frames() const {
    return channels > 0 ? static_cast<FrameCount>(samples.size()) / channels : 0;
  }
  bool empty() const { return samples.empty(); }
};

}  // namespace quillon::audio
