// Loading a palette file into the grid's carts and saving their settings to
// one. A cart whose file is missing or unreadable is still bound (marked
// missing) with its volume and switches, and a number a cart cannot take is
// left out: one bad section never empties the rest of the grid, and the next
// save writes every cart back as it was. UI thread.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "palette/paletteformat.h"
#include "palette/writeresult.h"

namespace quillon::cart {
class Cartouche;
}

namespace quillon::palette {

using CartList = std::span<cart::Cartouche* const>;

// What a load could not apply, for whoever wants to tell the operator.
struct PaletteLoadReport {
  struct SkippedKey {
    int cart = 0;
    std::string_view key;
  };
  std::vector<int> missingFiles;        // carts bound to a file that cannot be analysed
  std::vector<SkippedKey> skippedKeys;  // numbers outside the 16-bit range
};

// Stops and empties every cart, then gives cart i what section i holds: the
// title first, then each number that is present. A missing file, or one that
// is not a palette, leaves every cart empty. Carts past the palette's 26 are
// only emptied.
PaletteLoadReport LoadPaletteFile(CartList carts, const std::filesystem::path& path);
PaletteLoadReport loadPalette(CartList carts, const IniDocument& palette);

// What the carts report, in cart order; carts missing from `carts` are empty.
PaletteEntries paletteEntriesOf(CartList carts);
// Writes every cart's five keys to `path` in one write, whole or not at all;
// other sections and keys of an existing file stay.
WriteResult savePaletteFile(CartList carts, const std::filesystem::path& path);

}  // namespace quillon::palette
