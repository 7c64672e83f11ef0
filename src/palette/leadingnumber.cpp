#include "palette/leadingnumber.h"

namespace quillon::palette {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Exact decimal arithmetic rather than a double: "2.50000000000000000001"
// rounds up, and a thousand digits cannot overflow anything.
std::optional<std::int16_t> numberOfValue(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::size_t intBegin = i;
  while (i < text.size() && isDigit(text[i])) ++i;
  std::string_view whole = text.substr(intBegin, i - intBegin);
  std::string_view fraction;
  if (i < text.size() && text[i] == '.') {
    const std::size_t fracBegin = ++i;
    while (i < text.size() && isDigit(text[i])) ++i;
    fraction = text.substr(fracBegin, i - fracBegin);
  }
  if (whole.empty() && fraction.empty()) return 0;  // not a number: 0

  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  if (whole.size() > 6) return std::nullopt;  // a million or more
  std::int64_t magnitude = 0;
  for (const char c : whole) magnitude = magnitude * 10 + (c - '0');

  if (!fraction.empty()) {
    const int first = fraction.front() - '0';
    const bool moreAfterFirst = fraction.find_first_not_of('0', 1) != std::string_view::npos;
    const bool roundUp = first > 5 || (first == 5 && (moreAfterFirst || magnitude % 2 == 1));
    if (roundUp) ++magnitude;
  }
  const std::int64_t number = negative ? -magnitude : magnitude;
  if (number < INT16_MIN || number > INT16_MAX) return std::nullopt;
  return static_cast<std::int16_t>(number);
}

}  // namespace quillon::palette
