// The whole program for measurements: the real main window (offscreen), the
// program's engine on PortAudio's `system` device of a JACK dummy server the
// benchmark starts (48 kHz, 256-frame periods), and a JACK client of the
// benchmark's own listening to the program's output. UI thread.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "about/shell.h"
#include "app/cartoucheur.h"
#include "app/configkeys.h"
#include "support/favoritesstandin.h"
#include "audio/programengine.h"
#include "firstsoundprobe.h"
#include "support/jackserver.h"

namespace quillon::bench {

class ProgramRig {
 public:
  // Starts the server, the engine and the window; error() says what failed.
  ProgramRig();
  ~ProgramRig();

  const std::string& error() const { return m_error; }
  // "JACK dummy 48000 Hz / 256 frames (real-time)" or similar.
  const std::string& label() const { return m_label; }
  app::Cartoucheur& window() { return *m_window; }
  // A second window on the same engine with instant keys ([Keys] Instant=1),
  // made at first use on the same device; it takes the keyboard, the first
  // window is hidden. Null with error() when it cannot be made ready.
  app::Cartoucheur* instantKeysWindow();
  FirstSoundProbe& probe() { return *m_probe; }
  double periodMs() const { return m_periodMs; }

 private:
  struct MemoryConfig : app::ConfigKeys {
    std::string readKey(const std::string& section, const std::string& key) override {
      return keys[section + "/" + key];
    }
    void writeKey(const std::string& section, const std::string& key,
                  const std::string& value) override {
      keys[section + "/" + key] = value;
    }
    std::map<std::string, std::string> keys;
  };
  struct NoShell : about::Shell {
    bool ShellOpen(const QString&, const QString&, const QString&) override { return false; }
  };

  std::string m_error;
  std::string m_label;
  std::unique_ptr<test::JackServer> m_server;
  std::unique_ptr<audio::ProgramEngine> m_engine;
  MemoryConfig m_config;
  app::FavoritesStandIn m_favorites;
  NoShell m_shell;
  // Shows `window` on the `system` device and waits until it is active;
  // false with m_error when it cannot.
  bool showOnSystemDevice(app::Cartoucheur& window);
  std::unique_ptr<app::Cartoucheur> m_window;
  std::unique_ptr<app::Cartoucheur> m_instantKeysWindow;
  std::unique_ptr<FirstSoundProbe> m_probe;
  double m_periodMs = 0;
};

// Runs the event loop for `ms` milliseconds. UI thread
void runEventLoopFor(int ms);

}  // namespace quillon::bench
