// One session on air for a test: an X display, a JACK server and the test's
// own recording client, and a sandbox for the real program: a copy of the
// executable and its welcome page in a folder of their own (with Config.ini
// beside them, so the copy is portable), a home, a runtime and a
// configuration folder of the test's own, and a stand-in for the desktop's
// opener (xdg-open) that notes what it was asked to open instead of starting
// a browser. Then the operator's steps: start, wait for the window, press
// letters, pick a favourite, listen. Artefacts (screenshots, the program's
// logs) are kept in the build tree under tests/e2e/artefacts/<test>/.
// Test support.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "app/windowgeometry.h"
#include "e2e/desktop.h"
#include "e2e/fixtures.h"
#include "e2e/listener.h"
#include "support/jackserver.h"

namespace quillon::test {

inline constexpr const char* kWindowTitle = "^Quillon V1\\.0$";
// The JACK client of the program's output: it plays to the server's first
// pair of playback ports by default, whatever else the machine lists (ALSA's
// JACK plugin among them), through a client of this name.
inline constexpr const char* kProgramClient = "Quillon";

class OnAir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // In the sandbox.
  QString path(const QString& relative) const { return m_root.filePath(relative); }
  QString configIni() const { return path("program/Config.ini"); }
  // What the desktop's opener was asked to open, one request a line.
  QString openedLog() const { return path("opened.txt"); }

  // Starts the program and waits for its window (focused) and, when
  // `listen`, for its output ports, which the recorder joins.
  void startQuillon(bool listen = true);
  // Closes the window as the operator does and waits for the program to end.
  void closeQuillon();
  // Sends `signal` to the program (as a service manager or a shutdown does)
  // and waits for it to end normally.
  void signalQuillon(int signal);
  bool programRunning() const { return m_program && m_program->state() != QProcess::NotRunning; }
  qint64 programPid() const { return m_program ? m_program->processId() : 0; }
  // Starts one more copy and waits for it to end (a second instance must end
  // at once); its exit code, or -1 when it did not end within `boundMs`.
  int runSecondInstance(int boundMs);
  // A screenshot into the test's artefacts.
  void screenshot(const QString& name);
  QString artefact(const QString& name) const;

  // Makes a tone in the sandbox's "audio" folder; its full path.
  QString tone(const ToneSpec& spec);
  // Writes a palette into the sandbox; its full path.
  QString writePalette(const QString& name, const PaletteCarts& carts);
  // Config.ini with `palette` as the only favourite; and, when
  // `firstStartDone`, the welcome page already offered.
  QByteArray favouriteConfig(const QString& palette, bool firstStartDone = true);

  // Presses a letter and waits until its tone is heard (or gone, for a stop).
  void fire(char letter, double hz, double amplitude);
  void stop(char letter, double hz);
  // Saves the palette through the toolbar's Save and its dialog, and
  // acknowledges the message that follows.
  void savePalette(const QString& path);
  // Picks favourite `entry` (1 = the first) from the favourites list.
  void chooseFavourite(int entry) {
    choose(app::Panel::ComboListePalette, app::Panel::Picture6, entry - 1);
  }
  // Clicks the middle of `panel`, which is placed in `inside`.
  void clickPanel(app::Panel panel, app::Panel inside);
  // Opens the output device list (which reads the devices again) and takes
  // its entry `entry` (0 = the first).
  void chooseDevice(int entry) { choose(app::Panel::Combo4, app::Panel::Picture3, entry); }
  // The middle of control `panel` (placed in `inside`) on the screen, from
  // the window's own geometry model at its current size.
  QPoint middleOf(app::Panel panel, app::Panel inside) const;

  // The server's playback ports; a fixture sets more before SetUp.
  int m_playbackPorts = 2;
  std::string m_serverName;
  std::unique_ptr<Desktop> m_desktop;
  std::unique_ptr<JackServer> m_server;
  std::unique_ptr<Listener> m_listener;
  QString m_window;

 private:
  // The program's process, in the sandbox's environment, not yet started.
  std::unique_ptr<QProcess> programProcess() const;
  // Opens the list `panel` (placed in `inside`) and takes its entry `index`
  // (0 = the first), by the keyboard once it is open.
  void choose(app::Panel panel, app::Panel inside, int index);

  QTemporaryDir m_root;
  std::unique_ptr<QProcess> m_program;
  QString m_artefacts;
  int m_starts = 0;
};

}  // namespace quillon::test
