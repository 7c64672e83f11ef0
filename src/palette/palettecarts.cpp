#include "palette/palettecarts.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include "cart/cartouche.h"
#include "palette/inifile.h"
#include "palette/leadingnumber.h"

namespace quillon::palette {

namespace {

using NumberSetter = void (*)(cart::Cartouche&, int);

// The numbers of a section in the order they are applied.
constexpr std::pair<std::string_view, NumberSetter> kNumberKeys[] = {
    {kVolumeKey, [](cart::Cartouche& c, int v) { c.SetVolume(v); }},
    {kLoopKey, [](cart::Cartouche& c, int v) { c.Setloop(v); }},
    {kFadeInKey, [](cart::Cartouche& c, int v) { c.SetFadein(v); }},
    {kFadeOutKey, [](cart::Cartouche& c, int v) { c.SetFadeout(v); }},
};

int volumeOf(const std::string& text) {
  int volume = 100;
  std::from_chars(text.data(), text.data() + text.size(), volume);
  return volume;
}

}  // namespace

PaletteLoadReport loadPalette(CartList carts, const IniDocument& palette) {
  for (cart::Cartouche* c : carts) c->StopMyplay(asrun::EndReason::PaletteLoad);

  PaletteLoadReport report;
  const int filled = std::min<int>(static_cast<int>(carts.size()), kPaletteCarts);
  for (int i = 0; i < filled; ++i) {
    cart::Cartouche& c = *carts[static_cast<std::size_t>(i)];
    const std::string section = paletteSectionName(i);
    const std::string title = palette.value(section, kTitleKey);
    if (title.empty()) continue;  // this cart stays empty

    // The path exactly as stored: a file that is not there stays bound and
    // marked missing, so a later save writes it back unchanged.
    if (!c.SetTitle(title)) report.missingFiles.push_back(i);

    for (const auto& [key, apply] : kNumberKeys) {
      const std::string text = palette.value(section, key);
      if (text.empty()) continue;  // not applied
      const std::optional<std::int16_t> number = numberOfValue(text);
      if (!number) {
        report.skippedKeys.push_back({i, key});  // the cart keeps its value
        continue;
      }
      apply(c, *number);
    }
  }
  return report;
}

PaletteLoadReport LoadPaletteFile(CartList carts, const std::filesystem::path& path) {
  return loadPalette(carts, IniFile::load(path).document());
}

PaletteEntries paletteEntriesOf(CartList carts) {
  PaletteEntries entries;
  const std::size_t filled = std::min<std::size_t>(carts.size(), entries.size());
  for (std::size_t i = 0; i < filled; ++i) {
    const cart::Cartouche& c = *carts[i];
    PaletteEntry& entry = entries[i];
    entry.path = c.GetTitle();
    entry.volume = volumeOf(c.GetVolume());
    entry.loop = c.Getloop() == "True";
    entry.fadeIn = c.GetFadein() == "True";
    entry.fadeOut = c.GetFadeout() == "True";
  }
  return entries;
}

WriteResult savePaletteFile(CartList carts, const std::filesystem::path& path) {
  return writePalette(path, paletteEntriesOf(carts));
}

}  // namespace quillon::palette
