// Letters typed to fire carts after a click in the file list leave its
// selection alone, and the delete confirmation defaults to No: a quick
// Return keeps the file.
#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "explorer/explorermodel.h"
#include "explorerfixture.h"

namespace quillon::explorer {
namespace {

using OperatorTest = ExplorerFixture;

TEST_F(OperatorTest, LettersTypedIntoTheListLeaveItsSelectionWhereItWas) {
  for (const char* name : {"alpha.wav", "bravo.wav", "charlie.wav", "delta.mp3", "echo.ogg"}) {
    writeFile(inMusic(name));
  }
  auto explorer = makeExplorer();
  explorer->show();
  ASSERT_TRUE(waitForFolder(*explorer, music()));
  ASSERT_TRUE(select(*explorer, "charlie.wav"));
  QAbstractItemView* list = explorer->List_File();
  list->setFocus();
  QTest::keyClicks(list, "bde");
  QTest::keyClicks(list, "A", Qt::ShiftModifier);
  QTest::keyClick(list, Qt::Key_Space);
  EXPECT_EQ(explorer->selectedPath(), inMusic("charlie.wav"));
  // The arrows still move it: only typing is for the carts.
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(explorer->selectedPath(), inMusic("delta.mp3"));
}

TEST_F(OperatorTest, TheDeleteConfirmationDefaultsToNo) {
  writeFile(inMusic("keep.wav"));
  // The panel's own prompts: the real message box.
  Explorer explorer(
      nullptr, [this] { return m_media.createInformation(); }, music());
  QObject::connect(explorer.model(), &QFileSystemModel::directoryLoaded, &explorer,
                   [this](const QString& path) { m_loadedFolders << path; });
  explorer.show();
  ASSERT_TRUE(waitForFolder(explorer, music()));
  ASSERT_TRUE(select(explorer, "keep.wav"));
  bool defaultIsNo = false;
  QTimer::singleShot(0, &explorer, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    defaultIsNo = box->defaultButton() == box->button(QMessageBox::No);
    QTest::keyClick(box, Qt::Key_Return);  // the operator's reflex
  });
  explorer.Toolbar1_ButtonClick(11);
  EXPECT_TRUE(defaultIsNo);
  EXPECT_TRUE(QFile::exists(inMusic("keep.wav")));
}

}  // namespace
}  // namespace quillon::explorer
