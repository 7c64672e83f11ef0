// One instance at a time, and where Config.ini is kept, in real runs of the
// program (a copy of it in a folder of its own, the runtime and
// configuration folders the test's own, under the offscreen platform). There
// the welcome page cannot open, so these runs also show that the first run
// is marked done when opening fails.
#include "app/singleinstance.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

namespace quillon::app {
namespace {

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(contents) == contents.size() && file.flush();
}

bool pollUntil(const std::function<bool()>& done, int timeoutMs = 30000) {
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

constexpr int kQuickEndMs = 10000;

TEST(SingleInstance, OneLockHolderPerFolderUntilItLetsGo) {
  QTemporaryDir runtime;
  ASSERT_TRUE(runtime.isValid());
  QTemporaryDir other;
  {
    const SingleInstance first(runtime.path());
    EXPECT_TRUE(first.isFirst());
    EXPECT_FALSE(SingleInstance(runtime.path()).isFirst());
    EXPECT_TRUE(SingleInstance(other.path()).isFirst());  // each run its own folder
  }
  EXPECT_TRUE(SingleInstance(runtime.path()).isFirst());
  // A folder where no lock can be made does not keep the program from starting.
  EXPECT_TRUE(SingleInstance(runtime.filePath("missing/folder")).isFirst());
}

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

TEST_F(RealRun, APortableCopyKeepsItsConfigIniAnInstalledOneTheUsersAndAKilledLockIsTakenOver) {
  const QString portable = installCopy("stick", "[FirstExec]\nValue=yes\n");
  ASSERT_FALSE(portable.isEmpty());
  auto killed = start(portable);
  EXPECT_TRUE(pollUntil([&] { return readFile(folder("stick/Config.ini")).contains("Value=1"); }));
  EXPECT_TRUE(QDir(configHome()).isEmpty());
  ASSERT_TRUE(waitForLockOf(killed->processId()));
  killed->kill();
  ASSERT_TRUE(killed->waitForFinished(kQuickEndMs));
  ASSERT_TRUE(QFileInfo::exists(lockPath()));  // left behind

  // The installed copy starts past the lock left behind.
  const QString installed = installCopy("prefix/bin");
  ASSERT_FALSE(installed.isEmpty());
  auto next = start(installed);
  EXPECT_TRUE(waitForLockOf(next->processId()));
  const QString userIni = QDir(configHome()).filePath("quillon/Config.ini");
  EXPECT_TRUE(pollUntil([&] { return readFile(userIni).contains("Value=1"); }));
  EXPECT_FALSE(QFileInfo::exists(folder("prefix/bin/Config.ini")));
  EXPECT_EQ(next->state(), QProcess::Running);
}

TEST_F(RealRun, ASecondStartEndsAtOnceWithoutTouchingConfigIniHoweverOldTheLock) {
  const QString program = installCopy("studio", "[FirstExec]\nValue=1\n");
  ASSERT_FALSE(program.isEmpty());
  auto first = start(program);
  ASSERT_TRUE(waitForLockOf(first->processId()));
  QFile lock(lockPath());
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                               QFileDevice::FileModificationTime));
  lock.close();
  // The second start from a copy of its own, whose Config.ini the first never
  // reads: a second start that went on would open the welcome page and write
  // "1" there.
  const QString secondProgram = installCopy("booth", "[FirstExec]\nValue=0\n");
  ASSERT_FALSE(secondProgram.isEmpty());
  const QString secondIni = folder("booth/Config.ini");
  const QDateTime written = QFileInfo(secondIni).lastModified();

  auto second = start(secondProgram);
  ASSERT_TRUE(second->waitForFinished(kQuickEndMs));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_TRUE(waitForLockOf(first->processId(), 0));
  EXPECT_EQ(readFile(secondIni), "[FirstExec]\nValue=0\n");
  EXPECT_EQ(QFileInfo(secondIni).lastModified(), written);
  EXPECT_TRUE(QDir(configHome()).isEmpty());
}

}  // namespace
}  // namespace quillon::app
