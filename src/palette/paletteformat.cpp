#include "palette/paletteformat.h"

#include <utility>

#include "palette/inisyntax.h"

namespace quillon::palette {

std::string paletteSectionName(int index) { return std::to_string(index); }

WriteResult setPaletteEntries(IniFile& file, const PaletteEntries& entries) {
  for (int i = 0; i < kPaletteCarts; ++i) {
    const PaletteEntry& entry = entries[static_cast<std::size_t>(i)];
    const std::string section = paletteSectionName(i);
    // A cart whose path the file cannot hold is saved as an empty cart: read
    // back as another file, it would be worse than missing.
    const std::pair<std::string_view, std::string> keys[] = {
        {kTitleKey, isWritableValue(entry.path) ? entry.path : std::string()},
        {kVolumeKey, std::to_string(entry.volume)},
        {kLoopKey, entry.loop ? "1" : "0"},
        {kFadeInKey, entry.fadeIn ? "1" : "0"},
        {kFadeOutKey, entry.fadeOut ? "1" : "0"},
    };
    for (const auto& [key, value] : keys) {
      if (WriteResult result = file.set(section, key, value); !result) return result;
    }
  }
  return WriteResult::success();
}

std::vector<int> unstorableCarts(const PaletteEntries& entries) {
  std::vector<int> carts;
  for (int i = 0; i < kPaletteCarts; ++i) {
    if (!isWritableValue(entries[static_cast<std::size_t>(i)].path)) carts.push_back(i);
  }
  return carts;
}

WriteResult writePalette(const std::filesystem::path& path, const PaletteEntries& entries) {
  IniFile file = IniFile::load(path);
  if (WriteResult result = setPaletteEntries(file, entries); !result) return result;
  return file.save();
}

}  // namespace quillon::palette
