#include "e2e/desktop.h"

#include <sys/prctl.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <csignal>

// Last: Xlib's macros clash with Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace quillon::test {

bool pollUntil(const std::function<bool()>& done, int boundMs, int stepMs) {
  const QDeadlineTimer deadline(boundMs);
  for (;;) {
    if (done()) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(static_cast<unsigned long>(stepMs));
  }
}

Desktop::Desktop() : m_xvfb(std::make_unique<QProcess>()) {}

Desktop::~Desktop() {
  if (m_xvfb->state() == QProcess::NotRunning) return;
  m_xvfb->terminate();  // so that it removes its lock and socket files
  if (!m_xvfb->waitForFinished(5000)) {
    m_xvfb->kill();
    m_xvfb->waitForFinished(5000);
  }
}

bool Desktop::start(std::string& error) {
  // Runs in the child before Xvfb: it dies with the test's thread that forked it.
  m_xvfb->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
  m_xvfb->setStandardErrorFile(QProcess::nullDevice());
  m_xvfb->start("/usr/bin/Xvfb", {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0",
                                  "1280x1024x24"});
  const QDeadlineTimer deadline(10000);
  while (!m_xvfb->canReadLine() && m_xvfb->waitForReadyRead(deadline.remainingTime())) {
  }
  const QString number = QString::fromLatin1(m_xvfb->readLine().trimmed());
  if (number.isEmpty()) {
    error = "Xvfb did not name a display within 10 s";
    return false;
  }
  m_display = ":" + number;
  return true;
}

std::optional<QString> Desktop::run(const QString& program, const QStringList& args,
                                    int boundMs) const {
  QProcess tool;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", m_display);
  tool.setProcessEnvironment(env);
  tool.setStandardErrorFile(QProcess::nullDevice());
  tool.start(program, args);
  if (!tool.waitForStarted(10000)) return std::nullopt;
  if (!tool.waitForFinished(boundMs)) {
    tool.kill();
    tool.waitForFinished(10000);
    return std::nullopt;
  }
  if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) return std::nullopt;
  return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QStringList Desktop::windows(const QString& pattern) const {
  // Exit code 1 (nothing found) comes back as nothing.
  return run("xdotool", {"search", "--onlyvisible", "--name", pattern})
      .value_or("")
      .split('\n', Qt::SkipEmptyParts);
}

std::optional<QString> Desktop::waitForWindow(const QString& pattern, int boundMs) const {
  QString found;
  if (!pollUntil(
          [&] {
            const QStringList all = windows(pattern);
            if (!all.isEmpty()) found = all.first().trimmed();
            return !found.isEmpty();
          },
          boundMs, 100)) {
    return std::nullopt;
  }
  return found;
}

bool Desktop::focus(const QString& window) const {
  return pollUntil(
      [&] {
        xdotool({"windowfocus", window}, 5000);
        return run("xdotool", {"getwindowfocus"}) == window;
      },
      15000, 100);
}

QRect Desktop::geometry(const QString& window) const {
  QRect r;
  for (const QString& line :
       run("xdotool", {"getwindowgeometry", "--shell", window}).value_or("").split('\n')) {
    const int value = line.section('=', 1).toInt();
    if (line.startsWith("X=")) r.moveLeft(value);
    if (line.startsWith("Y=")) r.moveTop(value);
    if (line.startsWith("WIDTH=")) r.setWidth(value);
    if (line.startsWith("HEIGHT=")) r.setHeight(value);
  }
  return r;
}

bool Desktop::click(int x, int y) const {
  return xdotool({"mousemove", "--sync", QString::number(x), QString::number(y), "sleep", "0.2",
                  "click", "1"});
}

bool Desktop::keyboardLayouts(const QString& layouts, int group) const {
  if (!run("setxkbmap", {"-layout", layouts}).has_value()) return false;
  Display* display = XOpenDisplay(m_display.toLocal8Bit().constData());
  if (display == nullptr) return false;
  const bool locked = XkbLockGroup(display, XkbUseCoreKbd, static_cast<unsigned>(group)) != 0;
  XSync(display, False);
  XkbStateRec state{};
  const bool active = XkbGetState(display, XkbUseCoreKbd, &state) == Success &&
                      state.group == static_cast<unsigned char>(group);
  XCloseDisplay(display);
  return locked && active;
}

bool Desktop::close(const QString& window) const {
  Display* display = XOpenDisplay(m_display.toLocal8Bit().constData());
  if (display == nullptr) return false;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window.toULong();
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  const auto sent = XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  return sent != 0;
}

}  // namespace quillon::test
