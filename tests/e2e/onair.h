// One session on air for a test: an X display, a JACK server and the test's
// own recording client, a sandbox with the program and its files, and the
// operator's steps (start, wait for the window, press letters, pick a
// favourite, listen). Artefacts (screenshots, the program's logs) are kept
// in the build tree under tests/e2e/artefacts/<test>/. Test support.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "app/windowgeometry.h"
#include "support/jackserver.h"
#include "e2e/desktop.h"
#include "e2e/fixtures.h"
#include "e2e/listener.h"
#include "e2e/sandbox.h"
#include "e2e/xvfbdisplay.h"

namespace quillon::test {

inline constexpr const char* kWindowTitle = "^Quillon V1\\.0$";
// The JACK client name the program takes.
inline constexpr const char* kProgramClient = "Quillon";

// Waits until the file holds `text`; false past `boundMs`.
bool waitForFile(const QString& path, const QByteArray& text, int boundMs);

// Toolbar buttons, where they sit in the window (pixels from its top-left
// corner): the toolbar is laid out left to right in the program's fixed
// fonts, "Quit", "New", "Open", "Save", "About".
inline constexpr std::pair<int, int> kSaveButton{299, 19};

class OnAir : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the program and waits for its window (focused) and, when
  // `listen`, for its output ports, which the recorder joins.
  void startQuillon(bool listen = true);
  // Closes the window as the operator does and waits for the program to end.
  void closeQuillon();
  // A screenshot into the test's artefacts.
  void screenshot(const QString& name);
  QString artefact(const QString& name) const;

  // Makes tones in the sandbox's "audio" folder; their full paths.
  QString tone(const ToneSpec& spec);
  // Writes a palette into the sandbox; its full path.
  QString writePalette(const QString& name, const PaletteCarts& carts);

  // Presses a letter and waits until its tone is heard (or gone, for a stop).
  void fire(char letter, double hz, double amplitude);
  void stop(char letter, double hz);
  // Saves the palette through the toolbar's Save and its dialog, and
  // acknowledges the message that follows.
  void savePalette(const QString& path);
  // Picks favourite `entry` (1 = the first) from the favourites list.
  void chooseFavourite(int entry);
  // Opens the output device list (which reads the devices again) and takes
  // its entry `entry` (0 = the first).
  void chooseDevice(int entry);
  // The screen point of a toolbar button, by its place in the window.
  std::pair<int, int> toolbarButton(std::pair<int, int> inWindow);
  // The screen point at the middle of a panel of the window, from the
  // window's own geometry model at the window's current size.
  std::pair<int, int> panelCentre(app::Panel panel, std::optional<app::Panel> inside = {});

  std::string m_serverName;
  std::unique_ptr<XvfbDisplay> m_display;
  std::unique_ptr<JackServer> m_server;
  std::unique_ptr<Listener> m_listener;
  std::unique_ptr<Sandbox> m_sandbox;
  std::unique_ptr<Desktop> m_desktop;
  QString m_window;
  QString m_artefacts;
  int m_starts = 0;
};

}  // namespace quillon::test
