#include "benchfiles.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "audiofixtures.h"

namespace quillon::bench {

double benchSeconds(Length length) { return length == Length::ThirtySeconds ? 30 : 300; }

std::string benchFile(const std::string& type, Length length) {
  static const std::map<std::string, std::string> encoders = {
      {"mp3", "-c:a libmp3lame -b:a 192k"},
      {"wav", "-c:a pcm_s16le"},
      {"wma", "-c:a wmav2 -b:a 128k"},
      {"ogg", "-c:a libvorbis -q:a 5"},
  };
  if (type == "cover.mp3") {
    return test::mp3WithCoverPicture(2 << 20);  // 3 s of audio: only the opening counts
  }
  const test::AudioFixture fixture{"bench." + type, 44100, 2, benchSeconds(length),
                                   encoders.at(type)};
  const std::string path = test::fixturePath(fixture);
  if (path.empty()) std::abort();  // nothing to measure
  return path;
}

std::string randomFile(const std::string& extension) {
  return test::randomBytesFiles(100LL << 20, {"noise." + extension}).front();
}

}  // namespace quillon::bench
