// The names the palette commands and the favourites give to files: the
// ".pal" ending of a saved palette and the name a favourite is shown by.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::palette {

inline constexpr std::string_view kPaletteExtension = ".pal";

// The name a palette is saved under: `chosen` itself when it ends exactly in
// ".pal" (letter case counts), else `chosen` with ".pal" added, so
// "Morning.PAL" becomes "Morning.PAL.pal".
std::string withPaletteExtension(std::string chosen);

// Where a path's file name starts: after its last "/", or after its last "\"
// when there is no "/"; 0 when there is neither.
std::size_t fileNameStart(std::string_view path);

// A favourite's shown name: the text after the path's last "/" (or after its
// last "\" when there is no "/"), less its last four characters, the
// extension. A name of four characters or fewer is shown whole. Characters
// are counted in UTF-8, so a name is never cut inside a character.
std::string favoriteDisplayName(std::string_view path);

// A path or name shown on one line: each line break (CR LF, LF or CR) as "↵".
std::string onOneLine(std::string_view text);

}  // namespace quillon::palette
