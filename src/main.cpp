// Quillon: one instance, the application, the main window.
#include <QApplication>

#include "about/shell.h"
#include "app/cartoucheur.h"
#include "app/favoritesinset.h"
#include "app/iniconfigkeys.h"
#include "app/programfiles.h"
#include "app/remotecarts.h"
#include "app/singleinstance.h"
#include "audio/programengine.h"
#include "palette/additionsettings.h"
#include "remote/devicereturnwatch.h"
#include "remote/remotecontrol.h"

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

  // The additions' own settings, beside Config.ini, written once with their
  // defaults so that an operator finds what can be set.
  const std::filesystem::path additionsIni = palette::additionsIniPath(configIni);
  palette::createAdditionsFileIfMissing(additionsIni);  // without it: the defaults
  const palette::RemoteSettings remoteSettings =
      palette::readRemoteSettings(palette::IniFile::load(additionsIni));
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
  return QApplication::exec();
}
