// Starts the as-run log as Quillon.ini sets it, its trouble shown in the
// main window's status bar. UI thread.
#pragma once

#include <QPointer>
#include <memory>

#include "asrun/asrunwriter.h"
#include "settings/additionsettings.h"

namespace quillon::app {

class Cartoucheur;

inline constexpr const char* kAsRunSubject = "As-run log";

// Null when the log is switched off or no folder can be named. `window` may
// be null until the window exists; a message before that is not shown, the
// next one is.
std::unique_ptr<asrun::AsRunWriter> startAsRunLog(const settings::AsRunSettings& settings,
                                                  const QPointer<Cartoucheur>& window);

}  // namespace quillon::app
