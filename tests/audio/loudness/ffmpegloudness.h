// The ffmpeg tool's own loudness meter (its ebur128 filter), the outside
// reference the program's measurement is held to, and files made by the tool
// at a chosen loudness. Test support only.
#pragma once

#include <optional>
#include <string>

namespace quillon::test {

struct ToolLoudness {
  double integratedLufs = 0.0;  // one decimal, as the tool prints it
  double truePeakDbtp = 0.0;
};

// The tool's summary for the file at `path` (read with `inputOptions`, e.g.
// the format of raw samples); nothing when it could not run.
std::optional<ToolLoudness> loudnessByFfmpegTool(const std::string& path,
                                                 const std::string& inputOptions = "");

// Writes `source` (a lavfi source, stereo) through `encoder` to `output` at
// `lufs` as the tool measures it: made once at its own level, measured, and
// made again with the difference as gain. False when the tool failed.
bool makeAtLoudness(const std::string& source, const std::string& encoder, double lufs,
                    const std::string& output);

}  // namespace quillon::test
