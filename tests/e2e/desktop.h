// The operator's desktop, of the test's own: an X display (Xvfb, started on
// the first free display number, which it tells back with -displayfd, kept
// alive between clients with -noreset, and killed with the test, even one
// that crashed), xdotool for windows, keys and the pointer, and ImageMagick's
// import for screenshots. Every call has a bound, so a stuck tool fails the
// step instead of hanging the test. Test support.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QProcess;

namespace quillon::test {

// Asks `done` every `stepMs` until it says yes (true) or `boundMs` passed.
bool pollUntil(const std::function<bool()>& done, int boundMs, int stepMs = 50);

class Desktop {
 public:
  Desktop();
  ~Desktop();

  // Starts Xvfb with one 1280 x 1024 x 24 screen and waits (10 s at most)
  // until it names its display. False, with `error`, when it cannot.
  bool start(std::string& error);
  // ":N", for DISPLAY.
  const QString& display() const { return m_display; }

  // Runs a tool on the display; its standard output, or nothing when it
  // failed or did not end within `boundMs`.
  std::optional<QString> run(const QString& program, const QStringList& args,
                             int boundMs = 15000) const;
  bool xdotool(const QStringList& args, int boundMs = 15000) const {
    return run("xdotool", args, boundMs).has_value();
  }

  // The visible windows whose title matches `pattern` (a regular expression).
  QStringList windows(const QString& pattern) const;
  // The first of them, waiting up to `boundMs` for one.
  std::optional<QString> waitForWindow(const QString& pattern, int boundMs = 30000) const;
  // True when none is left within `boundMs`.
  bool waitForNoWindow(const QString& pattern, int boundMs = 30000) const {
    return pollUntil([&] { return windows(pattern).isEmpty(); }, boundMs, 100);
  }
  // Gives the window the keyboard (no window manager runs to do it).
  bool focus(const QString& window) const;
  // The window's place and size on the screen; empty when unknown.
  QRect geometry(const QString& window) const;

  bool key(const QString& keys) const { return xdotool({"key", "--delay", "40", keys}); }
  // Several keys, `delayMs` apart (each pressed and released).
  bool keys(const QStringList& keys, int delayMs) const {
    return xdotool(QStringList{"key", "--delay", QString::number(delayMs)} + keys);
  }
  // Gives the keyboard these layouts (setxkbmap -layout, e.g. "us,ru") and
  // makes group `group` (0 = the first layout) the active one.
  bool keyboardLayouts(const QString& layouts, int group) const;
  bool click(int x, int y) const;  // left button, screen coordinates
  // Asks the window to close, as a window manager's close button does
  // (WM_DELETE_WINDOW), which xdotool cannot do without one.
  bool close(const QString& window) const;

  // The whole screen into `pngPath`.
  bool screenshot(const QString& pngPath) const {
    return run("import", {"-window", "root", pngPath}, 30000).has_value();
  }

 private:
  std::unique_ptr<QProcess> m_xvfb;
  QString m_display;
};

}  // namespace quillon::test
