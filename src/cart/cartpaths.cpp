#include "cart/cartpaths.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace quillon::cart {

std::string titleOf(const std::string& path) {
  std::size_t cut = path.rfind('/');
  if (cut == std::string::npos) cut = path.rfind('\\');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool isAcceptedAudioPath(const std::string& path) {
  static constexpr std::array<const char*, 4> kEndings = {"MP3", "WAV", "WMA", "OGG"};
  std::string tail = path.size() > 3 ? path.substr(path.size() - 3) : path;
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return std::find(kEndings.begin(), kEndings.end(), tail) != kEndings.end();
}

}  // namespace quillon::cart
