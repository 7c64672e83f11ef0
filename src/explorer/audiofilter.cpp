#include "explorer/audiofilter.h"

#include <algorithm>
#include <cctype>

namespace quillon::explorer {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (ending.size() > text.size()) return false;
  return std::equal(ending.begin(), ending.end(), text.end() - static_cast<long>(ending.size()),
                    [](char a, char b) {
                      return std::tolower(static_cast<unsigned char>(a)) ==
                             std::tolower(static_cast<unsigned char>(b));
                    });
}

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> filterPatterns(std::string_view filter) {
  std::vector<std::string> patterns;
  while (!filter.empty()) {
    const auto end = filter.find(';');
    const std::string_view pattern = trimmed(filter.substr(0, end));
    if (!pattern.empty()) patterns.emplace_back(pattern);
    if (end == std::string_view::npos) break;
    filter.remove_prefix(end + 1);
  }
  return patterns;
}

bool isListedAudioFile(std::string_view fileName, std::string_view filter) {
  // Only the name counts: a folder called "x.mp3" in the path does not.
  const auto slash = fileName.find_last_of('/');
  const std::string_view name =
      slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  for (const std::string& pattern : filterPatterns(filter)) {
    // Patterns are "*.ext": the name must be longer than the extension.
    if (pattern.size() < 2 || pattern[0] != '*') continue;
    const std::string_view ending = std::string_view(pattern).substr(1);
    if (name.size() > ending.size() && endsWithIgnoringCase(name, ending)) return true;
  }
  return false;
}

}  // namespace quillon::explorer
