#include "ffmpegloudness.h"

#include <cstdio>
#include <sstream>

#include "audiofixtures.h"

namespace quillon::test {

namespace {

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// The number after the last "<label>" of the tool's summary.
std::optional<double> lastValue(const std::string& text, const std::string& label) {
  const std::size_t at = text.rfind(label);
  if (at == std::string::npos) return std::nullopt;
  std::istringstream in(text.substr(at + label.size()));
  double value = 0.0;
  if (!(in >> value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<ToolLoudness> loudnessByFfmpegTool(const std::string& path,
                                                 const std::string& inputOptions) {
  const std::string command = "ffmpeg -nostdin -hide_banner -nostats " + inputOptions + " -i " +
                              quoted(path) +
                              " -af ebur128=peak=true:framelog=verbose -f null - 2>&1";
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
      output.append(buffer, got);
    }
    if (::pclose(pipe) != 0) return std::nullopt;
  }
  const auto integrated = lastValue(output, "I:");
  const auto peak = lastValue(output, "Peak:");
  if (!integrated || !peak) return std::nullopt;
  return ToolLoudness{*integrated, *peak};
}

bool makeAtLoudness(const std::string& source, const std::string& encoder, double lufs,
                    const std::string& output) {
  // Measured through the encoder too: a lossy one takes some of the signal.
  const std::string first = output + ".first" + output.substr(output.rfind('.'));
  if (!runFfmpeg("-f lavfi -i " + quoted(source) + " -ac 2 " + encoder, first)) return false;
  const auto measured = loudnessByFfmpegTool(first);
  std::remove(first.c_str());
  if (!measured) return false;
  const double gain = lufs - measured->integratedLufs;
  return runFfmpeg("-f lavfi -i " + quoted(source) + " -ac 2 -af volume=" + std::to_string(gain) +
                       "dB " + encoder,
                   output);
}

}  // namespace quillon::test
