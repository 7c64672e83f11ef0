// Files for the carts: tones of one frequency made by the ffmpeg tool in the
// four types the program plays, and palette files naming them. Test support.
#pragma once

#include <QString>
#include <array>
#include <map>
#include <string>
#include <vector>

namespace quillon::test {

struct ToneSpec {
  QString fileName;  // its ending picks the codec: .wav, .mp3, .ogg or .wma
  double hz = 440;
  int rate = 22050;
  int channels = 1;
  double seconds = 8;
  double amplitude = 0.25;  // peak, full scale 1.0
};

// Makes the file in `folder`; false, with `error`, when ffmpeg fails.
bool makeTone(const QString& folder, const ToneSpec& tone, QString& error);

// The tone kept in `cacheFolder` (made there on first use, so later runs
// from the same build tree skip ffmpeg); its path, or empty with `error`.
// The file name carries every field of the tone, so one name is one tone.
QString cachedTone(const QString& cacheFolder, const ToneSpec& tone, QString& error);

// One cart of a palette: its file and numbers; an empty path leaves it empty.
struct PaletteCart {
  QString path;
  int volume = 100;
  bool loop = false;
  bool fadeIn = false;
  bool fadeOut = false;
};
using PaletteCarts = std::array<PaletteCart, 26>;

// A palette file: sections "0" to "25" with TITLE, VOLUME, LOOP, FADEIN and
// FADEOUT, as the program reads and writes them.
QByteArray paletteText(const PaletteCarts& carts);

// Sections and their keys, as read from an INI file's text (names as they are).
using IniSections = std::map<std::string, std::map<std::string, std::string>>;
IniSections parseIni(const QByteArray& text);

}  // namespace quillon::test
