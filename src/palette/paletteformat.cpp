#include "palette/paletteformat.h"

#include <utility>

namespace quillon::palette {

std::string paletteSectionName(int index) { return std::to_string(index); }

WriteResult setPaletteEntries(IniFile& file, const PaletteEntries& entries) {
  for (int i = 0; i < kPaletteCarts; ++i) {
    const PaletteEntry& entry = entries[static_cast<std::size_t>(i)];
    const std::string section = paletteSectionName(i);
    const std::pair<std::string_view, std::string> keys[] = {
        {kTitleKey, entry.path},
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

WriteResult writePalette(const std::filesystem::path& path, const PaletteEntries& entries) {
  IniFile file = IniFile::load(path);
  if (WriteResult result = setPaletteEntries(file, entries); !result) return result;
  return file.save();
}

}  // namespace quillon::palette
