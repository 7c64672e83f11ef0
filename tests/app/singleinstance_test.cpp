// One instance at a time, and where Config.ini is kept, in real runs of the
// program (a copy of it in a folder of its own, the runtime and
// configuration folders the test's own, under the offscreen platform). There
// the welcome page cannot open, so these runs also show that the first run
// is marked done when opening fails.
#include "app/singleinstance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/realrun.h"

namespace quillon::app {
namespace {

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
