#include "app/asrunstart.h"

#include <QCoreApplication>
#include <cstdlib>
#include <string>

#include "app/cartoucheur.h"
#include "asrun/asrunfolder.h"

namespace quillon::app {

namespace {

// Runs `show` on the UI thread, on the window if it is still there.
template <typename Show>
void onWindow(const QPointer<Cartoucheur>& window, Show show) {
  QMetaObject::invokeMethod(
      QCoreApplication::instance(),
      [&window, show] {
        if (window) show(*window);
      },
      Qt::QueuedConnection);
}

}  // namespace

std::unique_ptr<asrun::AsRunWriter> startAsRunLog(const settings::AsRunSettings& settings,
                                                  const QPointer<Cartoucheur>& window) {
  if (!settings.enabled) return nullptr;
  const std::filesystem::path folder =
      settings.folder.empty()
          ? asrun::defaultAsRunFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"))
          : std::filesystem::path(settings.folder);
  if (folder.empty()) return nullptr;
  asrun::AsRunWriterCallbacks callbacks;
  callbacks.trouble = [&window](const std::string& message) {
    onWindow(window, [message](Cartoucheur& w) {
      w.postStatus({kAsRunSubject, "cannot be written (plays are kept until it can): " + message,
                    StatusUrgency::Failure});
    });
  };
  callbacks.recovered = [&window] {
    onWindow(window, [](Cartoucheur& w) { w.resolveStatus(kAsRunSubject); });
  };
  return std::make_unique<asrun::AsRunWriter>(folder, std::move(callbacks));
}

}  // namespace quillon::app
