#include "audiofixtures.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

namespace quillon::test {
namespace {

namespace fs = std::filesystem;

// A changed recipe makes a new file instead of reusing a stale one.
std::string cachedName(const std::string& name, const std::string& recipe) {
  const fs::path p(name);
  const std::string tag = std::to_string(std::hash<std::string>{}(recipe) % 10'000'000'000ull);
  return (fs::path(fixtureFolder()) / (p.stem().string() + "-" + tag + p.extension().string()))
      .string();
}

// A sweep per channel, each starting and climbing at its own pace.
std::string sweepSource(int rate, int channels, double seconds) {
  std::ostringstream expr;
  for (int k = 0; k < channels; ++k) {
    if (k > 0) expr << '|';
    expr << "0.35*sin(2*PI*(" << 150 + 70 * k << "*t+" << 40 + 9 * k << "*t*t))";
  }
  std::ostringstream source;
  source << "-f lavfi -i 'aevalsrc=" << expr.str() << ":s=" << rate << ":d=" << seconds << ":c="
         << (channels == 1   ? "mono"
             : channels == 2 ? "stereo"
                             : "5.1")
         << "'";
  return source.str();
}

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// The file `name` made by ffmpeg from `recipe`, kept under a name of its own.
std::string made(const std::string& name, const std::string& recipe) {
  const std::string path = cachedName(name, recipe);
  if (fs::exists(path) || runFfmpeg(recipe, path)) return path;
  std::fprintf(stderr, "ffmpeg could not make %s with: %s\n", name.c_str(), recipe.c_str());
  return "";
}

}  // namespace

long long AudioFixture::sourceFrames() const { return std::llround(rate * seconds); }

const std::string& fixtureFolder() {
  static const std::string folder = [] {
    const char* root = std::getenv("QUILLON_TEST_TMP");
    fs::path base = root != nullptr && *root != '\0'
                        ? fs::path(root)
                        : fs::path("/tmp") / ("quillon-test-" + std::to_string(::getuid()));
    base /= "ffmpeg-fixtures";
    fs::create_directories(base);
    return base.string();
  }();
  return folder;
}

bool runFfmpeg(const std::string& arguments, const std::string& output) {
  const std::string partial =
      output + ".part-" + std::to_string(::getpid()) + fs::path(output).extension().string();
  const std::string command = "ffmpeg -nostdin -hide_banner -v error -y " + arguments +
                              " -fflags +bitexact -flags:a +bitexact " + quoted(partial) +
                              " < /dev/null > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    return false;
  }
  std::error_code error;
  fs::rename(partial, output, error);
  return !error;
}

std::string fixturePath(const AudioFixture& fixture) {
  return made(fixture.name,
              sweepSource(fixture.rate, fixture.channels, fixture.seconds) + " " + fixture.encoder);
}

std::string mp3WithCoverPicture(int pictureBytes) {
  // Noise hardly compresses: a PNG of w×h pixels takes about 2.6·w·h bytes.
  const std::string side = std::to_string(static_cast<int>(std::sqrt(pictureBytes / 2.6)) + 1);
  const std::string picture =
      made("cover.png", "-f lavfi -i 'nullsrc=s=" + side + "x" + side +
                            ",geq=random(1)*255:random(1)*255:random(1)*255'"
                            " -frames:v 1");
  const std::string audio =
      fixturePath({"cover-tone.mp3", 44100, 2, 3, "-c:a libmp3lame -b:a 128k"});
  if (picture.empty() || audio.empty()) return "";
  return made("with-cover.mp3", "-i " + quoted(audio) + " -i " + quoted(picture) +
                                    " -map 0 -map 1 -c copy -id3v2_version 3"
                                    " -disposition:v attached_pic");
}

std::string wmaWithVideo() {
  return made("with-video.wma", "-f lavfi -i 'testsrc=s=160x120:r=10:d=3' " +
                                    sweepSource(44100, 2, 3) +
                                    " -map 0:v -map 1:a -c:v wmv2 -c:a wmav2 -b:a 128k -f asf");
}

std::string oggWithoutAudio() {
  return made("video-only.ogg", "-f lavfi -i 'testsrc=s=160x120:r=10:d=1' -c:v libtheora");
}

std::vector<std::string> randomBytesFiles(long long bytes, const std::vector<std::string>& names) {
  const std::string source = cachedName("random.bin", "mt19937_64 " + std::to_string(bytes));
  if (!fs::exists(source)) {
    const std::string partial = source + ".part-" + std::to_string(::getpid());
    std::ofstream out(partial, std::ios::binary);
    std::mt19937_64 random(0x9E3779B97F4A7C15ull);  // seeded: the same bytes on every run
    std::vector<std::uint64_t> chunk(1 << 17);      // 1 MiB
    for (long long written = 0; written < bytes;) {
      std::generate(chunk.begin(), chunk.end(), std::ref(random));
      const auto n = std::min<long long>(bytes - written, static_cast<long long>(chunk.size() * 8));
      out.write(reinterpret_cast<const char*>(chunk.data()), n);
      written += n;
    }
    out.close();
    fs::rename(partial, source);
  }
  std::vector<std::string> paths;
  for (const auto& name : names) {
    const std::string path = cachedName(name, "random " + std::to_string(bytes));
    std::error_code ignored;
    if (!fs::exists(path)) {
      fs::create_hard_link(source, path, ignored);
      if (ignored) fs::copy_file(source, path, ignored);
    }
    paths.push_back(path);
  }
  return paths;
}

ScratchFolder::ScratchFolder() {
  std::string pattern = fixtureFolder() + "/scratch-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::fprintf(stderr, "mkdtemp failed under %s\n", fixtureFolder().c_str());
  }
  m_path = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // A test may have taken permissions away; give them back first.
  fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(m_path, ignored);
}

namespace {

// What the ffmpeg tool writes to its standard output, as `Sample`s.
template <typename Sample>
std::vector<Sample> toolOutput(const std::string& command) {
  std::vector<Sample> samples;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    Sample buffer[8192];
    for (std::size_t got = std::size(buffer); got == std::size(buffer);) {
      got = std::fread(buffer, sizeof buffer[0], std::size(buffer), pipe);
      samples.insert(samples.end(), buffer, buffer + got);
    }
    ::pclose(pipe);
  }
  return samples;
}

}  // namespace

std::vector<std::int16_t> decodeWithFfmpegTool(const std::string& path, int channels) {
  return toolOutput<std::int16_t>("ffmpeg -nostdin -v error -i " + quoted(path) +
                                  " -map 0:a:0 -ac " + std::to_string(channels) +
                                  " -f s16le -c:a pcm_s16le - 2>/dev/null");
}

std::vector<std::int16_t> downmixWithFfmpegTool(const std::string& path) {
  const std::vector<float> mixed =
      toolOutput<float>("ffmpeg -nostdin -v error -i " + quoted(path) +
                        " -map 0:a:0 -ac 2 -f f32le -c:a pcm_f32le - 2>/dev/null");
  std::vector<std::int16_t> samples;
  samples.reserve(mixed.size());
  for (const float x : mixed) {
    samples.push_back(
        static_cast<std::int16_t>(std::clamp(std::lrint(x * 32768.0f), -32768L, 32767L)));
  }
  return samples;
}

}  // namespace quillon::test
