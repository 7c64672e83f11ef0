// The Latin letter that the keyboard map gives a physical key in any of its
// groups, asked of the X server at the press: under a Cyrillic, Greek,
// Hebrew or Arabic layout the key's own symbol is no Latin letter, but the
// map of a multi-layout keyboard ("us,ru") still holds one for the key.
// Elsewhere (no X server, or a key with no Latin letter in its map) nothing,
// and the key's place decides (letterOfKey). UI thread.
#pragma once

#include <cstdint>
#include <optional>

namespace quillon::app {

std::optional<char> latinLetterInKeymap(std::uint32_t xKeycode);

}  // namespace quillon::app
