// Writes the program's icon as PNG files for the desktop's menu, from the
// same drawing the window uses: quillon_icon_maker FOLDER SIZE...
// (FOLDER/quillon-SIZE.png). Runs at build time; needs no display.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "app/artwork.h"

int main(int argc, char* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
    return 2;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  for (int i = 2; i < argc; ++i) {
    bool ok = false;
    const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
    if (!ok || size < 8 || size > 1024) {
      std::fprintf(stderr, "not an icon size: %s\n", argv[i]);
      return 2;
    }
    const QString path = QDir(folder).filePath(QString("quillon-%1.png").arg(size));
    if (!quillon::app::artwork::programIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
