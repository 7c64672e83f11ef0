// Whole numbers from fractions: nearest, halves to the even neighbour
// (2.5 gives 2, 3.5 gives 4), the program's rounding wherever it rounds.
#pragma once

#include <cmath>
#include <cstdint>

namespace quillon {

inline std::int64_t roundHalfEven(double value) {
  const double r = std::nearbyint(value);  // default mode: to nearest, ties to even
  return static_cast<std::int64_t>(r);
}

}  // namespace quillon
