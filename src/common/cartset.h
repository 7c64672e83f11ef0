// The cart set: 26 carts, indexes 0 to 25, cart k lettered 'A' + k. Every
// loop over all carts runs over the indexes in rising order.
#pragma once

namespace quillon {

inline constexpr int kCartCount = 26;

// The letter of cart `index` (0..25): 'A' to 'Z'.
constexpr char cartLetter(int index) { return static_cast<char>('A' + index); }

}  // namespace quillon
