// What a cart makes of a file's path: the title it shows, and whether a
// dropped path is an audio file it takes.
#pragma once

#include <string>

namespace quillon::cart {

// The text after the path's last "/", or after its last "\" when it has no
// "/" (a palette written on another system), or the whole path. The
// extension stays.
std::string titleOf(const std::string& path);

// True when the path's last three characters, upper-cased, are MP3, WAV, WMA
// or OGG. Only those three count: no dot is needed, and a folder with such a
// name passes too (the analysis then finds no audio).
bool isAcceptedAudioPath(const std::string& path);

}  // namespace quillon::cart
