// What tests and benchmarks of the main window read or run inside it, beyond
// its public operations. UI thread.
#pragma once

#include <QString>
#include <QTimer>
#include <vector>

#include "app/cartoucheur.h"

namespace quillon::app {

struct CartoucheurProbe {
  // The load steps in the order they ran.
  static const std::vector<LoadStep>& loadStepsRun(const Cartoucheur& w) {
    return w.m_loadStepsRun;
  }
  // One GetKeys tick now.
  static void pollKeys(Cartoucheur& w) { w.GetKeys(); }
  // The GetKeys timer, for measurements of the key path.
  static const QTimer& getKeysTimer(const Cartoucheur& w) { return w.m_getKeys; }
  // What the status bar says of the output device; empty while it is usable.
  static QString deviceMessage(const Cartoucheur& w) { return w.m_deviceMessage; }
  // The smallest client area the window now allows, in pixels.
  static PixelSize minimumClientSize(const Cartoucheur& w) {
    return {w.minimumWidth(), w.minimumHeight()};
  }
};

}  // namespace quillon::app
