// Quillon: one instance, the application, the main window.
#include <QApplication>

#include "about/shell.h"
#include "app/cartoucheur.h"
#include "app/favoritesinset.h"
#include "app/iniconfigkeys.h"
#include "app/programfiles.h"
#include "app/singleinstance.h"
#include "audio/programengine.h"

int main(int argc, char* argv[]) {
  using namespace quillon;
  // First of all: a second start ends here, before it reads or writes any
  // file and before it has a window.
  const app::SingleInstance instance(app::userRuntimeFolder());
  if (!instance.isFirst()) return 0;

  QApplication application(argc, argv);
  QCoreApplication::setApplicationName("quillon");
  QGuiApplication::setDesktopFileName("quillon");
  QApplication::setStyle("Fusion");

  const app::ProgramPlace place = app::currentProgramPlace();
  const std::string configIni = app::configIniFile(place).toStdString();
  app::IniConfigKeys config(configIni);
  app::FavoritesInset favorites(configIni);
  about::DesktopShell shell;
  audio::ProgramEngine engine;
  app::Cartoucheur window(engine, {config, favorites, shell, app::findWelcomePage(place),
                                   [] { QCoreApplication::exit(0); }});
  window.show();
  window.activateWindow();
  return QApplication::exec();
}
