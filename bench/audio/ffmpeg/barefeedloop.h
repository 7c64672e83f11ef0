// A bare FFmpeg decode-and-resample loop: what any program must do to turn a
// file into 16-bit interleaved samples, without anything of the reader's (no
// exact length, no seek, no checks beyond what FFmpeg needs). The yardstick
// for the reader's own cost.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon::bench {

// Frames decoded from the whole file into `scratch`, reused from call to
// call; -1 when FFmpeg fails.
long long decodeWithBareLoop(const std::string& path, std::vector<std::int16_t>& scratch);

}  // namespace quillon::bench
