#include "palette/palettenames.h"

namespace quillon::palette {

std::string withPaletteExtension(std::string chosen) {
  if (!chosen.ends_with(kPaletteExtension)) chosen += kPaletteExtension;
  return chosen;
}

std::size_t fileNameStart(std::string_view path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) slash = path.rfind('\\');
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string favoriteDisplayName(std::string_view path) {
  const std::string_view name = path.substr(fileNameStart(path));

  // Step back over four characters: a UTF-8 continuation byte is 10xxxxxx.
  std::size_t end = name.size();
  for (int characters = 0; characters < 4; ++characters) {
    if (end == 0) return std::string(name);
    --end;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  }
  if (end == 0) return std::string(name);
  return std::string(name.substr(0, end));
}

std::string onOneLine(std::string_view text) {
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      line += text[i];
      continue;
    }
    line += "\xE2\x86\xB5";  // U+21B5
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return line;
}

}  // namespace quillon::palette
