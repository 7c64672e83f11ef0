// Real runs of the program: one instance at a time (a second start ends
// before it touches Config.ini, a lock left by a killed instance does not
// block, a live instance keeps its lock however old the file is), and where
// Config.ini is kept. Under the offscreen platform the welcome page cannot
// open, so these runs also show that the first run is marked done when
// opening fails.
#include "app/singleinstance.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "programrun.h"

namespace quillon::app {
namespace {

using test::readFile;
using test::writeFile;

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
}

TEST(SingleInstance, AFolderWhereNoLockCanBeMadeDoesNotKeepTheProgramFromStarting) {
  QTemporaryDir runtime;
  EXPECT_TRUE(SingleInstance(runtime.filePath("missing/folder")).isFirst());
}

class RealRun : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(runs.ready()); }
  test::ProgramRuns runs;
};

TEST_F(RealRun, AnInstalledCopyKeepsConfigIniInTheUsersFolder) {
  const QString program = runs.installCopy("prefix/bin");
  ASSERT_FALSE(program.isEmpty());
  auto run = runs.start(program);
  const QString userIni = QDir(runs.configHome()).filePath("quillon/Config.ini");
  EXPECT_TRUE(test::pollUntil([&] { return readFile(userIni).contains("Value=1"); }));
  EXPECT_FALSE(QFileInfo::exists(runs.folder("prefix/bin/Config.ini")));
}

TEST_F(RealRun, APortableCopyKeepsItsOwnConfigIni) {
  const QString program = runs.installCopy("stick");
  ASSERT_FALSE(program.isEmpty());
  const QString ini = runs.folder("stick/Config.ini");
  ASSERT_TRUE(writeFile(ini, "[FirstExec]\nValue=yes\n"));
  auto run = runs.start(program);
  EXPECT_TRUE(test::pollUntil([&] { return readFile(ini).contains("Value=1"); }));
  EXPECT_TRUE(QDir(runs.configHome()).isEmpty());
}

class SecondProcess : public RealRun {
 protected:
  void SetUp() override {
    RealRun::SetUp();
    program = runs.installCopy("studio");
    ASSERT_FALSE(program.isEmpty());
    configIni = QDir(runs.folder("studio")).filePath("Config.ini");
    // A portable copy: its Config.ini beside it, the first run long done.
    ASSERT_TRUE(writeFile(configIni, "[FirstExec]\nValue=1\n"));
  }

  QString program;
  QString configIni;
};

TEST_F(SecondProcess, EndsAtOnceWithoutTouchingConfigIni) {
  auto first = runs.start(program);
  ASSERT_TRUE(runs.waitForLockOf(first->processId()));
  // The second start from a copy of its own, whose Config.ini the first never
  // reads: a second start that went on would open the welcome page and write
  // "1" there.
  const QString secondProgram = runs.installCopy("booth");
  const QString secondIni = runs.folder("booth/Config.ini");
  ASSERT_TRUE(writeFile(secondIni, "[FirstExec]\nValue=0\n"));
  const QDateTime written = QFileInfo(secondIni).lastModified();

  auto second = runs.start(secondProgram);
  ASSERT_TRUE(second->waitForFinished(kQuickEndMs));
  EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second->exitCode(), 0);
  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_EQ(readFile(secondIni), "[FirstExec]\nValue=0\n");
  EXPECT_EQ(QFileInfo(secondIni).lastModified(), written);
  EXPECT_TRUE(QDir(runs.configHome()).isEmpty());
}

TEST_F(SecondProcess, ALockLeftByAKilledInstanceDoesNotBlockANewStart) {
  auto killed = runs.start(program);
  ASSERT_TRUE(runs.waitForLockOf(killed->processId()));
  killed->kill();
  ASSERT_TRUE(killed->waitForFinished(kQuickEndMs));
  ASSERT_TRUE(QFileInfo::exists(runs.lockPath()));  // left behind

  auto next = runs.start(program);
  EXPECT_TRUE(runs.waitForLockOf(next->processId()));
  EXPECT_FALSE(next->waitForFinished(500));  // it runs on
}

TEST_F(SecondProcess, ALiveInstanceKeepsItsLockHoweverOldTheFile) {
  auto first = runs.start(program);
  ASSERT_TRUE(runs.waitForLockOf(first->processId()));
  QFile lock(runs.lockPath());
  ASSERT_TRUE(lock.open(QIODevice::ReadWrite));
  ASSERT_TRUE(lock.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                               QFileDevice::FileModificationTime));
  lock.close();

  auto second = runs.start(program);
  ASSERT_TRUE(second->waitForFinished(kQuickEndMs));
  EXPECT_EQ(first->state(), QProcess::Running);
  EXPECT_TRUE(runs.waitForLockOf(first->processId(), 0));
}

}  // namespace
}  // namespace quillon::app
