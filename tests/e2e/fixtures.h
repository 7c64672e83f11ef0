// Files for the carts: tones of one frequency made by the ffmpeg tool in the
// four types the program plays, and palette files naming them. Test support.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>

namespace quillon::test {

struct ToneSpec {
  QString fileName;  // its ending picks the codec: .wav, .mp3, .ogg or .wma
  double hz = 440;
  int rate = 22050;
  int channels = 1;
  double seconds = 8;
  double amplitude = 0.25;  // peak, full scale 1.0
  // Instead of the sine: an aevalsrc expression of t for every channel.
  QString expression{};
};

// The tone kept in `cacheFolder` (made there by ffmpeg on first use, so later
// runs from the same build tree skip it); its path, or empty with `error`.
// The file name stands for the tone: one name, one tone.
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
// FADEOUT, as the program writes them.
QByteArray paletteText(const PaletteCarts& carts);

// Whole-file helpers; false or empty when the file cannot be written or read.
bool writeWholeFile(const QString& path, const QByteArray& contents);
QByteArray readWholeFile(const QString& path);

}  // namespace quillon::test
