// Text of settings files. Files written by older installations are 8-bit
// Windows-1252; files written now are UTF-8. A line is read as UTF-8 when it
// is valid UTF-8 and as Windows-1252 otherwise; the caller always gets UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace quillon::palette {

// True for well-formed UTF-8: no overlong forms, no surrogates, nothing
// above U+10FFFF.
bool isValidUtf8(std::string_view bytes);

// Each byte as its Windows-1252 character, in UTF-8. The five bytes that
// code page leaves undefined become the C1 control of the same number.
std::string windows1252ToUtf8(std::string_view bytes);

// UTF-16 text (without its byte-order mark) in UTF-8. A lone surrogate
// becomes U+FFFD; an odd last byte is dropped.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);

// The longest prefix of UTF-8 `text` of at most `maxBytes` bytes that does
// not cut a character in two.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace quillon::palette
