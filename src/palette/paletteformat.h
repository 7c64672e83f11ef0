// The palette file (.pal): one section per cart, named by the cart index in
// decimal ("0" to "25"), each with the keys TITLE, VOLUME, LOOP, FADEIN and
// FADEOUT in that order. Flags are stored as 1 and 0. Sections of other
// numbers, and other keys, are neither read nor written, so they survive a
// save untouched.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/cartset.h"
#include "palette/inidocument.h"
#include "palette/inifile.h"
#include "palette/writeresult.h"

namespace quillon::palette {

inline constexpr int kPaletteCarts = kCartCount;

inline constexpr std::string_view kTitleKey = "TITLE";
inline constexpr std::string_view kVolumeKey = "VOLUME";
inline constexpr std::string_view kLoopKey = "LOOP";
inline constexpr std::string_view kFadeInKey = "FADEIN";
inline constexpr std::string_view kFadeOutKey = "FADEOUT";

// The section of cart `index`. The number is formed with a leading blank
// that names lose, so it is written "[0]" and "[ 0]" reads the same.
std::string paletteSectionName(int index);

// What a cart reports when a palette is saved.
struct PaletteEntry {
  std::string path;  // empty: the cart is empty
  int volume = 100;
  bool loop = false;
  bool fadeIn = false;
  bool fadeOut = false;
};
using PaletteEntries = std::array<PaletteEntry, kPaletteCarts>;

// Stores the five keys of every cart in `file`, in cart order, leaving
// everything else in it as it was; nothing is written until save(). A cart
// whose path a settings file cannot hold is stored with an empty TITLE.
WriteResult setPaletteEntries(IniFile& file, const PaletteEntries& entries);
// Those carts, by index.
std::vector<int> unstorableCarts(const PaletteEntries& entries);
// Saves a palette file in one write, whole or not at all.
WriteResult writePalette(const std::filesystem::path& path, const PaletteEntries& entries);

}  // namespace quillon::palette
