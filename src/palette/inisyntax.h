// How a line of an INI-style settings file reads, and which names and values
// a line can hold. Works on the raw bytes: the characters that give a line its
// shape ("[", "]", "=", ";", blanks) are ASCII in both encodings a file may use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon::palette {

// A value longer than this is returned cut to it. No path comes near it; the
// bound only keeps a garbage file from handing the caller megabytes.
inline constexpr std::size_t kMaxValueBytes = 32 * 1024;

enum class LineKind : unsigned char {
  Other,    // blank, comment, or anything else: kept, never read
  Section,  // "[name]" opens a section; "[" without "]" opens one that has no name
  Key,      // "name=value" inside a section
};

struct LineSyntax {
  LineKind kind = LineKind::Other;
  std::string_view name;   // without surrounding blanks; may be empty for a section
  std::string_view value;  // without surrounding blanks; keys only
};

// Blanks are spaces and tabs.
std::string_view trimBlanks(std::string_view text);

// One line, without its line end. A line holding a NUL byte is never a
// section or a key, so no caller ever receives one.
LineSyntax readLineSyntax(std::string_view line);

// Names compare without regard to the letter case of A-Z.
std::string foldName(std::string_view name);

// Whether a section name, key name or value (already without surrounding
// blanks, as UTF-8) can be written so that it reads back the same.
bool isWritableSectionName(std::string_view name);
bool isWritableKeyName(std::string_view name);
bool isWritableValue(std::string_view value);
// Why a value (a path, as the program hands it over, blanks included) cannot
// be stored so that it reads back the same, for a person to read ("it holds
// a line break"); empty when it can.
std::string_view whyNotWritable(std::string_view value);

}  // namespace quillon::palette
