// Measures a whole file's loudness (EBU R128 / ITU-R BS.1770 through
// libebur128): integrated loudness and true peak of the signal the carts
// play, decoded and folded down to stereo by the program's own reader. A
// mono file counts as heard on both speakers. Worker thread.
#pragma once

#include <atomic>
#include <string>

#include "audio/loudness.h"

namespace quillon::audio {

// Stops early, with an error, once `cancelled` is set.
LoudnessResult measureFileLoudness(const std::string& path, const std::atomic<bool>& cancelled);

}  // namespace quillon::audio
