// A place for one run of the real program: a copy of the executable and its
// welcome page in a folder of their own (with Config.ini beside them, so the
// copy is portable), a home, a runtime and a configuration folder of the
// test's own, and a stand-in for the desktop's opener (xdg-open) that notes
// what it was asked to open instead of starting a browser. The program runs
// on a given X display with a given JACK server as its audio. Test support.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace quillon::test {

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  bool ready() const { return m_ready; }
  QString path(const QString& relative) const { return m_root.filePath(relative); }
  QString programFolder() const { return path("program"); }
  QString configIni() const { return path("program/Config.ini"); }
  // What the desktop's opener was asked to open, one request a line.
  QString openedLog() const { return path("opened.txt"); }

  // Starts a copy of the program (`instance` names its output log, kept in
  // `logFolder`). The process is the sandbox's; at most one is tracked.
  bool startProgram(const QString& display, const QString& jackServer, const QString& logFolder,
                    const QString& instance = "quillon");
  // Starts one more copy and waits for it to end (a second instance must end
  // at once); its exit code, or -1 when it did not end within `boundMs`.
  int runSecondInstance(const QString& display, const QString& jackServer, int boundMs);
  QProcess* program() const { return m_program.get(); }
  bool programRunning() const;
  // Waits for the program to end by itself; false when it is still running.
  bool waitForExit(int boundMs);
  void killProgram();

 private:
  QProcessEnvironment environment(const QString& display, const QString& jackServer) const;

  QTemporaryDir m_root;
  bool m_ready = false;
  std::unique_ptr<QProcess> m_program;
};

// Whole-file helpers; false or empty when the file cannot be written or read.
bool writeWholeFile(const QString& path, const QByteArray& contents);
QByteArray readWholeFile(const QString& path);

}  // namespace quillon::test
