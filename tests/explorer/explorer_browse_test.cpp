// Browsing: what the list shows, the start folder, the chooser and the list in
// step, the layout applied in pixels and the drag that carries a file to a cart.
#include <QAbstractItemView>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QTreeView>
#include <QUrl>

#include "common/twips.h"
#include "explorer/explorermodel.h"
#include "explorer/explorertoolbar.h"
#include "explorer/folderchooser.h"
#include "explorerfixture.h"

namespace quillon::explorer {
namespace {

using BrowseTest = ExplorerFixture;

TEST_F(BrowseTest, ListsFoldersTheParentEntryAndTheFourAudioTypesEachWithAPicture) {
  auto explorer = makeExplorer();
  ASSERT_TRUE(waitForFolder(*explorer, music()));
  QStringList names = listedNames(*explorer);
  EXPECT_EQ(names.takeFirst(), "..");
  names.sort(Qt::CaseInsensitive);
  EXPECT_EQ(names,
            (QStringList{"BED.WAV", "Beds.MP3", "intro.mp3", "Jingles", "promo.WMA", "sting.Ogg"}));

  // Every entry has a picture, and audio files a thumbnail labelled by type.
  ExplorerModel& model = *explorer->model();
  const QModelIndex root = explorer->List_File()->rootIndex();
  auto picture = [&](const QModelIndex& index) {
    return model.data(index, Qt::DecorationRole).value<QIcon>();
  };
  for (int row = 0; row < model.rowCount(root); ++row) {
    const QModelIndex index = model.index(row, 0, root);
    EXPECT_FALSE(picture(index).isNull()) << index.data().toString().toStdString();
  }
  const QModelIndex intro = model.index(inMusic("intro.mp3"));
  const QModelIndex bed = model.index(inMusic("BED.WAV"));
  const qint64 icon = picture(intro).cacheKey();
  explorer->Toolbar1_ButtonClick(8);
  EXPECT_FALSE(picture(intro).isNull());
  EXPECT_NE(picture(intro).cacheKey(), icon);
  EXPECT_NE(picture(intro).cacheKey(), picture(bed).cacheKey());
  explorer->Toolbar1_ButtonClick(4);
  EXPECT_EQ(picture(intro).cacheKey(), icon);
}

TEST_F(BrowseTest, StartsInTheMusicFolderWhenThereIsOneElseAtHome) {
  auto withMusic = makeExplorer(QStringLiteral(""));
  EXPECT_EQ(withMusic->currentFolder(), music());
  withMusic.reset();
  ASSERT_TRUE(QDir(music()).removeRecursively());
  auto withoutMusic = makeExplorer(QStringLiteral(""));
  EXPECT_EQ(withoutMusic->currentFolder(), home());
}

TEST_F(BrowseTest, ChooserAndListStayInStep) {
  auto explorer = makeExplorer();
  FolderChooser& chooser = *explorer->JamShellCombo1();
  EXPECT_EQ(chooser.folder(), music());
  EXPECT_EQ(chooser.currentText(), QDir::toNativeSeparators(music()));
  // The chooser offers the folder's ancestry, the folder last before the places.
  EXPECT_EQ(chooser.itemData(chooser.currentIndex()).toString(), music());
  EXPECT_TRUE(chooser.choices().contains(home()));
  EXPECT_TRUE(chooser.choices().contains(QDir::rootPath()));

  // Entering a folder of the list moves the chooser.
  explorer->activate(music() + "/Jingles");
  ASSERT_TRUE(waitForFolder(*explorer, music() + "/Jingles"));
  EXPECT_EQ(chooser.folder(), music() + "/Jingles");
  EXPECT_EQ(listedNames(*explorer), (QStringList{"..", "top.mp3"}));

  // Choosing in the chooser moves the list.
  chooser.choose(chooser.findData(home()));
  EXPECT_EQ(explorer->currentFolder(), home());
  EXPECT_EQ(explorer->model()->filePath(explorer->List_File()->rootIndex()), home());
  ASSERT_TRUE(waitForFolder(*explorer, home()));
  EXPECT_TRUE(listedNames(*explorer).contains("Music"));

  // A typed folder, confirmed with Enter, moves both; a typed non-folder moves nothing.
  chooser.setEditText(music() + "/Jingles");
  QTest::keyClick(chooser.lineEdit(), Qt::Key_Return);
  EXPECT_EQ(explorer->currentFolder(), music() + "/Jingles");
  chooser.setEditText(music() + "/intro.mp3");
  QTest::keyClick(chooser.lineEdit(), Qt::Key_Return);
  EXPECT_EQ(explorer->currentFolder(), music() + "/Jingles");
  EXPECT_EQ(chooser.currentText(), QDir::toNativeSeparators(music() + "/Jingles"));
}

TEST_F(BrowseTest, ParentEntryAndUpButtonGoUpAndSelectTheFolderLeft) {
  auto explorer = makeExplorer(music() + "/Jingles");
  ASSERT_TRUE(waitForFolder(*explorer, music() + "/Jingles"));
  const QModelIndex parentEntry =
      explorer->List_File()->rootIndex().model()->index(0, 0, explorer->List_File()->rootIndex());
  ASSERT_TRUE(ExplorerModel::isParentEntry(parentEntry));
  emit explorer->List_File()->activated(parentEntry);  // a double click on ".."
  EXPECT_EQ(explorer->currentFolder(), music());
  EXPECT_EQ(explorer->JamShellCombo1()->folder(), music());
  EXPECT_EQ(explorer->selectedPath(), music() + "/Jingles");

  explorer->Toolbar1_ButtonClick(1);
  EXPECT_EQ(explorer->currentFolder(), home());
  EXPECT_EQ(explorer->selectedPath(), music());

  explorer->setCurrentFolder(QDir::rootPath());
  EXPECT_FALSE(explorer->moveUp());  // nowhere to go: refused
  EXPECT_EQ(explorer->currentFolder(), QDir::rootPath());
}

TEST_F(BrowseTest, AFolderShownThatDisappearsGivesWayToWhatIsLeftOfIt) {
  auto explorer = makeExplorer(music() + "/Jingles");
  ASSERT_TRUE(waitForFolder(*explorer, music() + "/Jingles"));
  ASSERT_TRUE(QDir(music() + "/Jingles").removeRecursively());
  EXPECT_TRUE(waitUntil([&] { return explorer->currentFolder() == music(); }));
  EXPECT_EQ(explorer->JamShellCombo1()->folder(), music());
}

TEST_F(BrowseTest, ASizeInTwipsPlacesThePartsByTheResizeRule) {
  auto explorer = makeExplorer();
  const int dpi = explorer->logicalDpiX();
  auto px = [dpi](float twips) { return twipsToPixels(twips, dpi); };
  explorer->setSizeTwips(9000, 6000);  // the parts as the rule, tested in twips, places them
  EXPECT_EQ(explorer->size(), QSize(px(9000), px(6000)));
  EXPECT_EQ(explorer->Toolbar1()->geometry(), QRect(px(5580), 0, px(3420), px(330)));
  EXPECT_EQ(explorer->JamShellCombo1()->geometry(), QRect(0, 0, px(5560), px(330)));
  EXPECT_EQ(explorer->List_File()->geometry(), QRect(0, px(345), px(9000), px(5655)));
}

TEST_F(BrowseTest, AListedFileDragsAsOneFileUrlAndNothingElseDrags) {
  auto explorer = makeExplorer();
  ExplorerModel& model = *explorer->model();
  for (int style : {kViewList, kViewReport}) {  // the details select whole rows
    explorer->setViewStyle(style);
    ASSERT_TRUE(select(*explorer, "intro.mp3"));
    const QModelIndexList selected = explorer->List_File()->selectionModel()->selectedIndexes();
    std::unique_ptr<QMimeData> data(model.mimeData(selected));
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat("text/uri-list"));
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl::fromLocalFile(inMusic("intro.mp3"))});
    EXPECT_EQ(model.supportedDragActions(), Qt::CopyAction);
  }
  const QModelIndex root = explorer->List_File()->rootIndex();
  for (const QModelIndex& index : {model.index(inMusic("Jingles")),
                                   model.index(inMusic("Beds.MP3")), model.index(0, 0, root)}) {
    const std::string name = index.data().toString().toStdString();
    ASSERT_TRUE(index.isValid()) << name;
    EXPECT_FALSE(model.flags(index) & Qt::ItemIsDragEnabled) << name;
    EXPECT_EQ(model.mimeData({index}), nullptr) << name;
  }
  EXPECT_EQ(model.mimeData({model.index(inMusic("intro.mp3")), model.index(inMusic("BED.WAV"))}),
            nullptr);  // one file at a time
}

}  // namespace
}  // namespace quillon::explorer
