#include "audio/jack/jackports.h"

#include <algorithm>
#include <cctype>

namespace quillon::audio {

namespace {

std::size_t trailingDigits(const std::string& s) {
  std::size_t n = 0;
  while (n < s.size() && std::isdigit(static_cast<unsigned char>(s[s.size() - 1 - n]))) ++n;
  return n;
}

// "system:playback_1" and "system:playback_2" give "system:playback_1+2";
// ports that do not differ only in a trailing number keep both names.
std::string pairName(const std::string& first, const std::string& second) {
  const std::size_t a = trailingDigits(first);
  const std::size_t b = trailingDigits(second);
  if (a > 0 && b > 0 && a < first.size() && b < second.size() &&
      first.compare(0, first.size() - a, second, 0, second.size() - b) == 0) {
    return first + "+" + second.substr(second.size() - b);
  }
  return first + "+" + second;
}

}  // namespace

std::vector<JackPortPair> pairPlaybackPorts(const std::vector<std::string>& ports) {
  std::vector<JackPortPair> pairs;
  for (std::size_t i = 0; i < ports.size(); i += 2) {
    if (i + 1 < ports.size()) {
      pairs.push_back({pairName(ports[i], ports[i + 1]), {ports[i], ports[i + 1]}});
    } else {
      pairs.push_back({ports[i], {ports[i]}});
    }
  }
  return pairs;
}

}  // namespace quillon::audio
