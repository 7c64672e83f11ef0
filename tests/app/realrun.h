// Real runs of the program for the tests: a copy of it in a folder of its
// own (with a Config.ini beside it, which makes the copy portable), the
// runtime and configuration folders the test's own, under the offscreen
// platform. Test support.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

namespace quillon::app {

inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(contents) == contents.size() && file.flush();
}

inline bool pollUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
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

inline constexpr int kQuickEndMs = 10000;

class RealRun : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_root.isValid() && QDir(m_root.path()).mkpath("runtime") &&
                QDir(m_root.path()).mkpath("config"));
    // The runtime folder must be the user's alone, as the platform wants it.
    ASSERT_TRUE(QFile::setPermissions(folder("runtime"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  }
  QString folder(const QString& name) const { return m_root.filePath(name); }
  QString configHome() const { return folder("config"); }
  QString lockPath() const { return folder("runtime/quillon.lock"); }

  // A copy of the program in `name`, with that Config.ini beside it unless
  // empty; its path, or empty when it cannot be made.
  QString installCopy(const QString& name, const QByteArray& configIni = {}) const {
    const QString program = QDir(folder(name)).filePath("quillon");
    if (!QDir().mkpath(folder(name)) || !QFile::copy(QStringLiteral(QUILLON_PROGRAM), program) ||
        (!configIni.isEmpty() &&
         !writeFile(QDir(folder(name)).filePath("Config.ini"), configIni))) {
      return {};
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return program;
  }

  RunningProgram start(const QString& program) const {
    RunningProgram process(new QProcess);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", folder("runtime"));
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
};

}  // namespace quillon::app
