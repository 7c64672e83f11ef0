#include "explorer/propertiestext.h"

#include <array>
#include <cstdio>

namespace quillon::explorer {

std::string groupedDigits(std::int64_t value) {
  const bool negative = value < 0;
  // Built from the unsigned magnitude so that the smallest value does not overflow.
  std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value) : value;
  std::string digits = std::to_string(magnitude);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return negative ? "-" + digits : digits;
}

std::string sizeText(std::int64_t bytes) {
  if (bytes < 0) return "-";
  if (bytes == 1) return "1 byte";
  if (bytes < 1024) return groupedDigits(bytes) + " bytes";
  static constexpr std::array<const char*, 4> kUnits{"KB", "MB", "GB", "TB"};
  double scaled = static_cast<double>(bytes) / 1024.0;
  std::size_t unit = 0;
  while (scaled >= 1024.0 && unit + 1 < kUnits.size()) {
    scaled /= 1024.0;
    ++unit;
  }
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%.1f %s", scaled, kUnits[unit]);
  return std::string(text.data()) + " (" + groupedDigits(bytes) + " bytes)";
}

std::string lengthText(std::int64_t milliseconds) {
  if (milliseconds < 0) return "-";
  const std::int64_t minutes = milliseconds / 60000;
  const std::int64_t seconds = milliseconds / 1000 % 60;
  const std::int64_t millis = milliseconds % 1000;
  std::array<char, 48> text{};
  std::snprintf(text.data(), text.size(), "%lld:%02lld.%03lld", static_cast<long long>(minutes),
                static_cast<long long>(seconds), static_cast<long long>(millis));
  return text.data();
}

std::string sampleRateText(int hertz) {
  if (hertz <= 0) return "-";
  return groupedDigits(hertz) + " Hz";
}

}  // namespace quillon::explorer
