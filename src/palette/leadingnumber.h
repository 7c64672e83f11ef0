// The number of a stored value, as palettes hand it to a cart: the leading
// number of the text (optional blanks, an optional sign, decimal digits with
// an optional decimal fraction), rounded to the nearest whole number with
// halves to the even neighbour. Text that does not begin with a number gives
// 0, so "75abc" is 75 and "True" is 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon::palette {

// Nothing when the rounded number lies outside -32768..32767: such a value
// cannot be handed to a cart, and a palette load stops there.
std::optional<std::int16_t> numberOfValue(std::string_view text);

}  // namespace quillon::palette
