// The operator's hands on the test's X display: xdotool for windows, keys
// and the pointer, ImageMagick's import for screenshots. Every call has a
// bound, so a stuck tool fails the step instead of hanging the test.
// Test support.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace quillon::test {

class Desktop {
 public:
  explicit Desktop(QString display) : m_display(std::move(display)) {}

  // Runs a tool on the display; its standard output, or nothing when it
  // failed or did not end within `boundMs`.
  std::optional<QString> run(const QString& program, const QStringList& args,
                             int boundMs = 15000) const;

  // The first visible window whose title matches `pattern` (a regular
  // expression), waiting up to `boundMs` for it.
  std::optional<QString> waitForWindow(const QString& pattern, int boundMs = 30000) const;
  // True when no window matching `pattern` is left within `boundMs`.
  bool waitForNoWindow(const QString& pattern, int boundMs = 30000) const;
  // Gives the window the keyboard (no window manager runs to do it).
  bool focus(const QString& window) const;
  // The window that has the keyboard, or nothing.
  std::optional<QString> activeWindow() const;
  // The window's top-left corner on the screen.
  std::optional<std::pair<int, int>> windowPosition(const QString& window) const;

  bool key(const QString& keys) const;  // press and release, e.g. "a", "Return"
  bool keyDown(const QString& key) const;
  bool keyUp(const QString& key) const;
  bool type(const QString& text) const;
  bool click(int x, int y) const;  // left button, screen coordinates
  // Asks the window to close, as a window manager's close button does
  // (WM_DELETE_WINDOW), which xdotool cannot do without one.
  bool close(const QString& window) const;

  // The whole screen into `pngPath`.
  bool screenshot(const QString& pngPath) const;

 private:
  QString m_display;
};

}  // namespace quillon::test
