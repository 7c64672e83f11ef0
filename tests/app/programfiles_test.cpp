// Where a real run of the program keeps Config.ini: an installed copy in
// the user's configuration folder, a portable copy beside itself. Under the
// offscreen platform the welcome page cannot open, so these runs also show
// that the first run is marked done when opening fails.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "programrun.h"

namespace quillon::app {
namespace {

using test::readFile;
using test::waitForFileContaining;
using test::writeFile;

TEST(ProgramFiles, AnInstalledCopyKeepsConfigIniInTheUsersFolder) {
  test::ProgramRuns runs;
  ASSERT_TRUE(runs.ready());
  const QString program = runs.installCopy("prefix/bin");
  ASSERT_FALSE(program.isEmpty());
  auto run = runs.start(program);
  const QString userIni = QDir(runs.configHome()).filePath("quillon/Config.ini");
  EXPECT_TRUE(waitForFileContaining(userIni, "Value=1"));
  EXPECT_FALSE(QFileInfo::exists(runs.folder("prefix/bin/Config.ini")));
}

TEST(ProgramFiles, APortableCopyKeepsItsOwnConfigIni) {
  test::ProgramRuns runs;
  ASSERT_TRUE(runs.ready());
  const QString program = runs.installCopy("stick");
  ASSERT_FALSE(program.isEmpty());
  const QString ini = runs.folder("stick/Config.ini");
  ASSERT_TRUE(writeFile(ini, "[FirstExec]\nValue=yes\n"));
  auto run = runs.start(program);
  EXPECT_TRUE(waitForFileContaining(ini, "Value=1"));
  EXPECT_TRUE(QDir(runs.configHome()).isEmpty());
}

}  // namespace
}  // namespace quillon::app
