#include "palette/leadingnumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

namespace quillon::palette {
namespace {

// Forms the random comparison with the C library below never makes: blanks,
// letters, exponents, long digit runs, a dot with no digits after it.
TEST(NumberOfValue, FollowsTheLeadingNumberRule) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"abc", 0},   // letters give 0
      {"True", 0},  // so a boolean word switches nothing on
      {"2.5", 2},   // halves to the even neighbour
      {"2.49999", 2},
      {"2.50000000000000000001", 3},  // above the half, however slightly
      {"5.", 5},
      {"  42", 42},
      {"\t9", 9},
      {"", 0},
      {"- 5", 0},  // no blank between sign and digits
      {"12 34", 12},
      {"1e3", 1},   // no exponent
      {"&H10", 0},  // no hexadecimal
      {"000000000000000012", 12},
      {"-32768.5", -32768},       // rounds to even, stays in range
      {"32768", std::nullopt},    // nothing: out of the 16-bit range
      {"32767.5", std::nullopt},  // rounds to 32768
      {"99999999999999999999999", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(numberOfValue(text), expected) << '"' << text << '"';
  }
}

// Short numbers are exact in a double, so the C library's conversion and
// rounding give an independent answer to compare with.
TEST(NumberOfValue, AgreesWithTheCLibraryOnShortNumbers) {
  std::mt19937 rng(1234);
  for (int i = 0; i < 20000; ++i) {
    std::string text = (rng() % 3 == 0) ? "-" : (rng() % 2 ? "+" : "");
    const int wholeDigits = static_cast<int>(rng() % 7);
    for (int d = 0; d < wholeDigits; ++d) text += static_cast<char>('0' + rng() % 10);
    if (rng() % 2) {
      text += '.';
      const int fractionDigits = 1 + static_cast<int>(rng() % 3);
      for (int d = 0; d < fractionDigits; ++d) text += static_cast<char>('0' + rng() % 10);
    }
    const double rounded = std::nearbyint(std::strtod(text.c_str(), nullptr));  // ties to even
    const bool inRange = rounded >= -32768 && rounded <= 32767;
    EXPECT_EQ(numberOfValue(text + "xyz"),
              inRange ? std::optional<int>(static_cast<int>(rounded)) : std::nullopt)
        << text;
  }
}

}  // namespace
}  // namespace quillon::palette
