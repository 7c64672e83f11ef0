#include "e2e/desktop.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include "e2e/closerequest.h"

namespace quillon::test {

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

std::optional<QString> Desktop::waitForWindow(const QString& pattern, int boundMs) const {
  const QDeadlineTimer deadline(boundMs);
  for (;;) {
    // Exit code 1 (nothing found) comes back as nothing.
    if (auto found = run("xdotool", {"search", "--onlyvisible", "--name", pattern})) {
      const QString first = found->section('\n', 0, 0).trimmed();
      if (!first.isEmpty()) return first;
    }
    if (deadline.hasExpired()) return std::nullopt;
    QThread::msleep(100);
  }
}

bool Desktop::waitForNoWindow(const QString& pattern, int boundMs) const {
  const QDeadlineTimer deadline(boundMs);
  for (;;) {
    auto found = run("xdotool", {"search", "--onlyvisible", "--name", pattern});
    if (!found || found->isEmpty()) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(100);
  }
}

bool Desktop::focus(const QString& window) const {
  const QDeadlineTimer deadline(15000);
  for (;;) {
    run("xdotool", {"windowfocus", window}, 5000);
    if (activeWindow() == window) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(100);
  }
}

std::optional<QString> Desktop::activeWindow() const { return run("xdotool", {"getwindowfocus"}); }

std::optional<std::pair<int, int>> Desktop::windowPosition(const QString& window) const {
  const auto shell = run("xdotool", {"getwindowgeometry", "--shell", window});
  if (!shell) return std::nullopt;
  int x = -1;
  int y = -1;
  for (const QString& line : shell->split('\n')) {
    if (line.startsWith("X=")) x = line.mid(2).toInt();
    if (line.startsWith("Y=")) y = line.mid(2).toInt();
  }
  if (x < 0 || y < 0) return std::nullopt;
  return std::make_pair(x, y);
}

bool Desktop::key(const QString& keys) const {
  return run("xdotool", {"key", "--delay", "40", keys}).has_value();
}

bool Desktop::keyDown(const QString& key) const {
  return run("xdotool", {"keydown", key}).has_value();
}

bool Desktop::keyUp(const QString& key) const { return run("xdotool", {"keyup", key}).has_value(); }

bool Desktop::type(const QString& text) const {
  return run("xdotool", {"type", "--delay", "20", text}, 60000).has_value();
}

bool Desktop::click(int x, int y) const {
  return run("xdotool", {"mousemove", "--sync", QString::number(x), QString::number(y), "sleep",
                         "0.2", "click", "1"})
      .has_value();
}

bool Desktop::close(const QString& window) const {
  return sendCloseRequest(m_display.toStdString(), window.toULong());
}

bool Desktop::screenshot(const QString& pngPath) const {
  return run("import", {"-window", "root", pngPath}, 30000).has_value();
}

}  // namespace quillon::test
