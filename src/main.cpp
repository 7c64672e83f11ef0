// Quillon: one instance, the application, the main window.
#include <QApplication>
#include <QPointer>
#include <filesystem>
#include <system_error>

#include "about/shell.h"
#include "app/asrunstart.h"
#include "app/cartoucheur.h"
#include "app/favoritesinset.h"
#include "app/iniconfigkeys.h"
#include "app/programfiles.h"
#include "app/remotecarts.h"
#include "app/sessionend.h"
#include "app/singleinstance.h"
#include "audio/programengine.h"
#include "palette/inifile.h"
#include "remote/devicereturnwatch.h"
#include "remote/remotecontrol.h"
#include "settings/additionsettings.h"

int main(int argc, char* argv[]) {
  using namespace quillon;
  // First of all: a second start ends here, before it reads or writes any
  // file and before it has a window.
  const app::SingleInstance instance(app::userRuntimeFolder());
  if (!instance.isFirst()) return 0;

  QApplication application(argc, argv);
  QCoreApplication::setApplicationName("quillon");
  QGuiApplication::setDesktopFileName("studio.quillon.Quillon");
  QApplication::setStyle("Fusion");

  const app::ProgramPlace place = app::currentProgramPlace();
  const std::string configIni = app::configIniFile(place).toStdString();
  app::IniConfigKeys config(configIni);
  app::FavoritesInset favorites(configIni);
  // SIGTERM, SIGINT and a logout end the program as Quit does, with the
  // favourites written. Caught from here on; answered once the event loop
  // runs, when start-up is over.
  const app::SessionEnd sessionEnd([&favorites] { favorites.SaveFavorites(); },
                                   [] { QCoreApplication::exit(0); });
  // Quillon.ini is written with its defaults on the first start, for the
  // operator to find and edit; if it cannot be, the defaults apply.
  const std::filesystem::path additionsIni = settings::additionsIniPath(configIni);
  std::error_code noFolder;  // then the file cannot be made either: defaults
  std::filesystem::create_directories(additionsIni.parent_path(), noFolder);
  settings::createAdditionsFileIfMissing(additionsIni);
  const settings::AdditionSettings additions =
      settings::readAdditionSettings(palette::IniFile::load(additionsIni));
  about::DesktopShell shell;
  audio::ProgramEngine engine;
  // The as-run log outlives the window, whose carts report their last plays
  // as they end; its messages reach the window through the event loop.
  QPointer<app::Cartoucheur> statusWindow;
  const std::unique_ptr<asrun::AsRunWriter> asRun =
      app::startAsRunLog(additions.asRun, statusWindow);
  app::Cartoucheur window(engine, {config, favorites, shell, app::findWelcomePage(place),
                                   [] { QCoreApplication::exit(0); }, additions, asRun.get()});
  statusWindow = &window;
  // A favourite that cannot be stored, or a Config.ini that cannot be
  // written, is said in the status bar until it is resolved.
  favorites.onNotStored([&window](const QString& text) {
    if (text.isEmpty()) {
      window.resolveStatus("Favourites");
    } else {
      window.postStatus({"Favourites", text.toStdString(), app::StatusUrgency::Failure});
    }
  });
  window.show();
  window.activateWindow();

  const settings::RemoteSettings remoteSettings =
      settings::readRemoteSettings(palette::IniFile::load(additionsIni));
  // Remote firing: the MIDI port opens on a thread of its own, so a machine
  // without MIDI starts as fast as any other.
  app::RemoteCarts remoteCarts(window);
  remote::RemoteControl remote(remoteCarts, remoteSettings);
  std::unique_ptr<remote::DeviceReturnWatch> deviceReturn;
  if (remoteSettings.devices.enabled && window.AudioPlayerMain() != nullptr) {
    deviceReturn = std::make_unique<remote::DeviceReturnWatch>(
        *window.AudioPlayerMain(),
        remote::DeviceReturn::Host{
            [&window] { return window.anyCartPlaying(); },
            [&window](int device) { window.chooseDeviceAfterRescan(device); }},
        std::chrono::seconds(remoteSettings.devices.checkSeconds));
  }
  // The pre-listen device comes back under the same rules.
  std::unique_ptr<remote::DeviceReturnWatch> cueReturn;
  if (remoteSettings.devices.enabled && window.preListenPlayer() != nullptr) {
    cueReturn = std::make_unique<remote::DeviceReturnWatch>(
        *window.preListenPlayer(),
        remote::DeviceReturn::Host{
            [&window] { return window.anyCartPlaying(); },
            [&window](int device) { window.choosePreListenDeviceAfterRescan(device); }},
        std::chrono::seconds(remoteSettings.devices.checkSeconds));
  }
  return QApplication::exec();
}
