// "delete": a confirmation, then the trash; never a permanent delete, and the
// file stays where it is, with a message, when the trash cannot take it.
#include <QDir>
#include <QFileInfo>

#include "explorer/trash.h"
#include "explorerfixture.h"

namespace quillon::explorer {
namespace {

class TrashTest : public ExplorerFixture {
 protected:
  void SetUp() override {
    ExplorerFixture::SetUp();
    // The program's own folder stands in for the current folder, where a
    // misdirected trash move would drop the file.
    m_oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir().mkpath(program()));
    ASSERT_TRUE(QDir::setCurrent(program()));
  }
  void TearDown() override {
    QDir::setCurrent(m_oldCurrent);
    ExplorerFixture::TearDown();
  }
  QString program() const { return home() + "/program"; }
  QString trashFiles() const { return home() + "/.local/share/Trash/files"; }

 private:
  QString m_oldCurrent;
};

TEST_F(TrashTest, ConfirmedDeletesGoToTheTrashEvenWithNoDataFolderYetDeclinedOnesNowhere) {
  ASSERT_FALSE(QFileInfo::exists(home() + "/.local/share"));
  auto explorer = makeExplorer();
  ASSERT_TRUE(select(*explorer, "intro.mp3"));
  m_confirm = false;
  EXPECT_FALSE(explorer->invokeCommand("delete"));
  EXPECT_TRUE(QFileInfo(inMusic("intro.mp3")).isFile());
  m_confirm = true;
  explorer->Toolbar1_ButtonClick(11);
  EXPECT_EQ(m_confirmations, QStringList(2, inMusic("intro.mp3")));
  EXPECT_FALSE(QFileInfo::exists(inMusic("intro.mp3")));
  EXPECT_TRUE(QFileInfo(trashFiles() + "/intro.mp3").isFile());
  EXPECT_FALSE(QFileInfo::exists(program() + "/files"));
  EXPECT_TRUE(m_warnings.isEmpty());
  EXPECT_TRUE(waitUntil([&] { return !listedNames(*explorer).contains("intro.mp3"); }));
  // A second file of the same name goes beside the first.
  writeFile(inMusic("intro.mp3"), "second");
  ASSERT_TRUE(select(*explorer, "intro.mp3"));
  ASSERT_TRUE(explorer->invokeCommand("delete"));
  EXPECT_EQ(QDir(trashFiles()).entryList(QDir::Files).size(), 2);
  // A folder goes with what it holds.
  ASSERT_TRUE(select(*explorer, "Jingles"));
  EXPECT_TRUE(explorer->invokeCommand("delete"));
  EXPECT_FALSE(QFileInfo::exists(music() + "/Jingles"));
  EXPECT_TRUE(QFileInfo(trashFiles() + "/Jingles/top.mp3").isFile());
}

TEST_F(TrashTest, WhenTheTrashCannotBeMadeTheFileStaysAndTheOperatorIsTold) {
  // The data folder's place is taken by a file: no trash can be made there.
  ASSERT_TRUE(QDir().mkpath(home() + "/.local"));
  writeFile(home() + "/.local/share");
  auto explorer = makeExplorer();
  ASSERT_TRUE(select(*explorer, "BED.WAV"));
  EXPECT_FALSE(explorer->invokeCommand("delete"));
  EXPECT_TRUE(QFileInfo(inMusic("BED.WAV")).isFile());
  ASSERT_EQ(m_warnings.size(), 1);
  EXPECT_TRUE(m_warnings[0].contains("BED.WAV"));
  EXPECT_TRUE(m_warnings[0].contains("stays where it is"));
  EXPECT_FALSE(QFileInfo::exists(program() + "/files"));
}

TEST_F(TrashTest, AFileThatVanishedIsReportedNotInvented) {
  const TrashResult result = moveToTrash(inMusic("no such file.mp3"));
  EXPECT_FALSE(result.moved);
  EXPECT_FALSE(result.error.isEmpty());
}

}  // namespace
}  // namespace quillon::explorer
