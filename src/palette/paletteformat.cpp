#include "palette/paletteformat.h"

#include <utility>

#include "palette/leadingnumber.h"

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

PaletteLoad readPalette(const IniDocument& document) {
  PaletteLoad load;
  for (int i = 0; i < kPaletteCarts; ++i) {
    const std::string section = paletteSectionName(i);
    PaletteCartLoad& cart = load.carts[static_cast<std::size_t>(i)];
    cart.title = document.value(section, kTitleKey);
    if (cart.title.empty()) continue;

    const std::pair<std::string_view, std::optional<std::int16_t>*> numbers[] = {
        {kVolumeKey, &cart.volume},
        {kLoopKey, &cart.loop},
        {kFadeInKey, &cart.fadeIn},
        {kFadeOutKey, &cart.fadeOut},
    };
    for (const auto& [key, target] : numbers) {
      const std::string text = document.value(section, key);
      if (text.empty()) continue;  // not applied
      const std::optional<std::int16_t> number = numberOfValue(text);
      if (!number) {
        load.stop = PaletteLoadStop{i, key};
        return load;
      }
      *target = number;
    }
  }
  return load;
}

PaletteLoad readPalette(const std::filesystem::path& path) {
  return readPalette(IniFile::load(path).document());
}

}  // namespace quillon::palette
