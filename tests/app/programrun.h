// Real runs of the program for the tests: a copy of it in a folder of its
// own, the platform's runtime and configuration folders pointed at the
// test's own, under the offscreen platform.
#pragma once

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

namespace quillon::test {

inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes a whole file; false when it cannot.
inline bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(contents) == contents.size() && file.flush();
}

// Polls `done` until it holds or `timeoutMs` have passed.
inline bool pollUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
  const QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    if (done()) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
}

// Kills a program still running when the test lets go of it.
struct KillOnDelete {
  void operator()(QProcess* process) const {
    if (process->state() != QProcess::NotRunning) {
      process->kill();
      process->waitForFinished(10000);
    }
    delete process;
  }
};
using RunningProgram = std::unique_ptr<QProcess, KillOnDelete>;

class ProgramRuns {
 public:
  ProgramRuns() {
    // The runtime folder must be the user's alone, as the platform wants it.
    m_ready = m_root.isValid() && QDir(m_root.path()).mkpath("runtime") &&
              QDir(m_root.path()).mkpath("config") &&
              QFile::setPermissions(runtimeFolder(),
                                    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  bool ready() const { return m_ready; }
  QString runtimeFolder() const { return m_root.filePath("runtime"); }
  QString configHome() const { return m_root.filePath("config"); }
  QString lockPath() const { return m_root.filePath("runtime/quillon.lock"); }
  QString folder(const QString& name) const { return m_root.filePath(name); }

  // A copy of the program in `name` (under the test's root); its path, or
  // empty when it cannot be made.
  QString installCopy(const QString& name) const {
    const QString program = QDir(folder(name)).filePath("quillon");
    if (!QDir().mkpath(folder(name)) || !QFile::copy(QStringLiteral(QUILLON_PROGRAM), program)) {
      return {};
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
  }

  RunningProgram start(const QString& program) const {
    RunningProgram process(new QProcess);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtimeFolder());
    env.insert("XDG_CONFIG_HOME", configHome());
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, {});
    process->waitForStarted(10000);
    return process;
  }

  // Waits until the lock names `pid` as its owner.
  bool waitForLockOf(qint64 pid, int timeoutMs = 30000) const {
    return pollUntil([&] { return readFile(lockPath()).split('\n').value(0).toLongLong() == pid; },
                     timeoutMs);
  }

 private:
  QTemporaryDir m_root;
  bool m_ready = false;
};

}  // namespace quillon::test
