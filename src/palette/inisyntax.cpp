#include "palette/inisyntax.h"

#include "palette/textencoding.h"

namespace quillon::palette {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

bool holdsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::string_view trimBlanks(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

LineSyntax readLineSyntax(std::string_view line) {
  if (line.find('\0') != std::string_view::npos) return {};
  const std::string_view text = trimBlanks(line);
  if (text.empty() || text.front() == ';') return {};
  if (text.front() == '[') {
    // A broken section line still ends the section above it, so the keys
    // under it are never mistaken for keys of that section.
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return {LineKind::Section, {}, {}};
    return {LineKind::Section, trimBlanks(text.substr(1, close - 1)), {}};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return {};
  const std::string_view name = trimBlanks(text.substr(0, equals));
  if (name.empty()) return {};
  return {LineKind::Key, name, trimBlanks(text.substr(equals + 1))};
}

std::string foldName(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

bool isWritableSectionName(std::string_view name) {
  return !name.empty() && name == trimBlanks(name) && !holdsLineBreakOrNul(name) &&
         name.find(']') == std::string_view::npos && isValidUtf8(name);
}

bool isWritableKeyName(std::string_view name) {
  return !name.empty() && name == trimBlanks(name) && !holdsLineBreakOrNul(name) &&
         name.front() != '[' && name.front() != ';' && name.find('=') == std::string_view::npos &&
         isValidUtf8(name);
}

bool isWritableValue(std::string_view value) { return whyNotWritable(value).empty(); }

std::string_view whyNotWritable(std::string_view value) {
  if (holdsLineBreakOrNul(value)) return "it holds a line break";
  if (value != trimBlanks(value)) return "it begins or ends with a blank";
  if (!isValidUtf8(value)) return "it is not valid UTF-8";
  if (value.size() > kMaxValueBytes) return "it is too long";
  return {};
}

}  // namespace quillon::palette
