// The toolbar's commands on the panel: new folder, view styles and the
// thumbnail rule, properties, and commands with nothing selected.
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>
#include <QTreeView>

#include "explorer/explorermodel.h"
#include "explorer/explorertoolbar.h"
#include "explorer/propertiesdialog.h"
#include "explorerfixture.h"

namespace quillon::explorer {
namespace {

using CommandsTest = ExplorerFixture;

TEST_F(CommandsTest, NewFolderTakesTheFirstFreeNameAndIsSelectedButNotBeingRenamed) {
  writeFile(inMusic("New Folder"));  // a file holds the name
  auto explorer = makeExplorer();
  ASSERT_TRUE(waitForFolder(*explorer, music()));
  explorer->Toolbar1_ButtonClick(2);
  EXPECT_TRUE(QFileInfo(inMusic("New Folder (2)")).isDir());
  EXPECT_EQ(explorer->selectedPath(), inMusic("New Folder (2)"));
  EXPECT_TRUE(waitUntil([&] { return listedNames(*explorer).contains("New Folder (2)"); }));
  // Letters typed now must reach the carts, not a name editor.
  EXPECT_TRUE(explorer->List_File()->findChildren<QLineEdit*>().isEmpty());
  EXPECT_TRUE(explorer->createNewFolder("New Folder", false));
  EXPECT_TRUE(QFileInfo(inMusic("New Folder (3)")).isDir());
  EXPECT_EQ(explorer->selectedPath(), inMusic("New Folder (2)"));  // flag false: not selected
}

TEST_F(CommandsTest, EachViewStyleShowsItsViewAndPictureSize) {
  auto explorer = makeExplorer();
  EXPECT_EQ(explorer->viewStyle(), kViewList);
  EXPECT_TRUE(explorer->Toolbar1()->button(6)->isChecked());
  struct Step {
    int click, style;
    bool thumbnails;
    int pictureSize;
  };
  const Step steps[] = {{4, kViewIcon, false, 32},   {5, kViewSmallIcon, false, 16},
                        {7, kViewReport, false, 16}, {8, kViewReport, true, 64},
                        {6, kViewList, true, 64},    {4, kViewIcon, false, 32}};
  for (const Step& step : steps) {
    explorer->Toolbar1_ButtonClick(step.click);
    SCOPED_TRACE("after a click on " + std::to_string(step.click));
    EXPECT_EQ(explorer->viewStyle(), step.style);
    EXPECT_EQ(explorer->model()->thumbnails(), step.thumbnails);  // what is drawn
    for (int b = 4; b <= 8; ++b) {
      EXPECT_EQ(explorer->Toolbar1()->button(b)->isChecked(), b == step.click) << b;
    }
    QAbstractItemView* shown = explorer->List_File();
    EXPECT_EQ(shown->iconSize(), QSize(step.pictureSize, step.pictureSize));
    EXPECT_FALSE(shown->isHidden());
    if (step.style == kViewReport) {
      EXPECT_NE(qobject_cast<QTreeView*>(shown), nullptr);
    } else {
      auto* list = qobject_cast<QListView*>(shown);
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(list->viewMode(),
                step.style == kViewIcon ? QListView::IconMode : QListView::ListMode);
      EXPECT_EQ(list->movement(), QListView::Static);  // items never move
    }
  }
}

TEST_F(CommandsTest, PropertiesShowTheEnginesLengthAndRateOrSayWhyNot) {
  const QString path = inMusic("intro.mp3");
  writeFile(path, QByteArray(3000, 'x'));
  test::FakeFile file;
  file.frames = 88200;  // 2 s at 44.1 kHz
  m_media.add(QFile::encodeName(path).toStdString(), file);
  auto explorer = makeExplorer();
  ASSERT_TRUE(select(*explorer, "intro.mp3"));
  explorer->Toolbar1_ButtonClick(10);
  PropertiesDialog* sheet = explorer->propertiesDialog();
  ASSERT_NE(sheet, nullptr);
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_EQ(sheet->value("Path"), QDir::toNativeSeparators(path));
  EXPECT_EQ(sheet->value("Size"), "2.9 KB (3,000 bytes)");
  EXPECT_EQ(sheet->value("Type"), "MP3 audio");
  EXPECT_EQ(sheet->value("Length"), "0:02.000");
  EXPECT_EQ(sheet->value("Sample rate"), "44,100 Hz");

  ASSERT_TRUE(select(*explorer, "BED.WAV"));  // not known to the fake engine
  EXPECT_TRUE(explorer->invokeCommand("properties"));
  sheet = explorer->propertiesDialog();
  ASSERT_NE(sheet, nullptr);
  EXPECT_EQ(sheet->value("Length"), "unknown");
  EXPECT_EQ(sheet->value("Sample rate"), "unknown");
  EXPECT_TRUE(sheet->value("Note").contains("BED.WAV"));
  sheet->close();
}

TEST_F(CommandsTest, PropertiesAndDeleteWithNothingSelectedEndSilently) {
  auto explorer = makeExplorer();
  ASSERT_TRUE(waitForFolder(*explorer, music()));
  const QStringList before = QDir(music()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) {  // the parent entry selected counts as nothing
      const QModelIndex root = explorer->List_File()->rootIndex();
      explorer->List_File()->selectionModel()->select(explorer->model()->index(0, 0, root),
                                                      QItemSelectionModel::ClearAndSelect);
    }
    EXPECT_TRUE(explorer->selectedPath().isEmpty());
    EXPECT_FALSE(explorer->invokeCommand("properties"));
    EXPECT_FALSE(explorer->invokeCommand("delete"));
    explorer->Toolbar1_ButtonClick(10);
    explorer->Toolbar1_ButtonClick(11);
  }
  EXPECT_EQ(explorer->propertiesDialog(), nullptr);
  EXPECT_TRUE(m_confirmations.isEmpty());
  EXPECT_TRUE(m_warnings.isEmpty());
  EXPECT_EQ(QDir(music()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

}  // namespace
}  // namespace quillon::explorer
