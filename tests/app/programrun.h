// Real runs of the program for the tests: a copy of it in a folder of its
// own, the platform's runtime and configuration folders pointed at the
// test's own, under the offscreen platform.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace quillon::test {

// Kills a program still running when the test lets go of it.
struct KillOnDelete {
  void operator()(QProcess* process) const;
};
using RunningProgram = std::unique_ptr<QProcess, KillOnDelete>;

class ProgramRuns {
 public:
  ProgramRuns();

  bool ready() const { return m_ready; }
  QString runtimeFolder() const { return m_root.filePath("runtime"); }
  QString configHome() const { return m_root.filePath("config"); }
  QString lockPath() const { return m_root.filePath("runtime/quillon.lock"); }

  // A copy of the program in `folder` (under the test's root); its path.
  QString installCopy(const QString& folder);
  QString folder(const QString& name) const { return m_root.filePath(name); }
  RunningProgram start(const QString& program) const;
  // Waits until the lock names `pid` as its owner.
  bool waitForLockOf(qint64 pid, int timeoutMs = 30000) const;

 private:
  QTemporaryDir m_root;
  bool m_ready = false;
};

// Waits until the file holds `text`.
bool waitForFileContaining(const QString& path, const QByteArray& text, int timeoutMs = 30000);
// Writes a whole file; false when it cannot.
bool writeFile(const QString& path, const QByteArray& contents);
QByteArray readFile(const QString& path);

}  // namespace quillon::test
