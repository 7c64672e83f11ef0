// Which files the explorer's list shows: the four audio types, matched on the
// extension in any letter case. Folders are always shown. No Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillon::explorer {

// The list's filter as the panel was designed with it.
inline constexpr std::string_view kFileFilter = "*.mp3;*.wma;*.wav;*.ogg";

// The filter's patterns, split at ';' and trimmed: "*.mp3", "*.wma", ...
std::vector<std::string> filterPatterns(std::string_view filter = kFileFilter);

// True when `fileName` (a name or a path) ends in one of the filter's
// extensions, letter case ignored: "intro.MP3" yes, "notes.txt" and "mp3" no.
bool isListedAudioFile(std::string_view fileName, std::string_view filter = kFileFilter);

}  // namespace quillon::explorer
