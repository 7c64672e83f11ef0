// Pictures of the main window for the docs and for a person to look at:
// app_screenshots FOLDER writes quillon-1280x800.png, quillon-minimum.png and
// about.png. Run it under Xvfb for the real platform's rendering. Not a test.
#include <QDir>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>

#include "about/form1.h"
#include "quietwindow.h"

namespace {

bool shoot(QWidget& window, QSize size, const QString& path) {
  window.resize(size);
  // Past the clock's first tick, so that it shows the time.
  QEventLoop settle;
  QTimer::singleShot(700, &settle, &QEventLoop::quit);
  settle.exec();
  return window.grab().save(path);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setStyle("Fusion");
  if (argc != 2 || !QDir().mkpath(argv[1])) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(argv[1]);
  quillon::app::test::QuietWindow quiet;
  auto window = quiet.makeWindow();
  window->show();
  const bool ok = shoot(*window, {1280, 800}, folder.filePath("quillon-1280x800.png")) &&
                  shoot(*window, {1, 1}, folder.filePath("quillon-minimum.png"));
  quillon::about::Form1 about(quiet.shell, window.get());
  about.show();
  return ok && about.grab().save(folder.filePath("about.png")) ? 0 : 1;
}
