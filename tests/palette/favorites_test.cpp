// The favourites inset on real widgets and a real Config.ini, its dialogs
// answered by the test.
#include "palette/favorites.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QWidget>
#include <string>
#include <vector>

#include "palette/inifile.h"
#include "scripteddialogs.h"
#include "tempfolder.h"

namespace quillon::palette::test {
namespace {

class FavoritesTest : public ::testing::Test {
 public:
  FavoritesTest() {
    for (const char* name : {"Morning show.pal", "Quiz.pal", "Night.pal"}) {
      writeBytes(folder / name, "[0]\nTITLE=/j/a.mp3\n");
    }
  }
  std::string path(const char* name) const { return (folder / name).string(); }
  std::vector<QString> shownTexts() const {
    std::vector<QString> texts;
    for (int i = 0; i < list->count(); ++i) texts.push_back(list->itemText(i));
    return texts;
  }
  // The program's start-up: emptied, then read.
  void startUp() {
    favorites.EmptyFavorites();
    favorites.LoadFavorites();
  }
  void pressAdd() { add->click(); }
  void pressClear() { clear->click(); }

  TempFolder folder;
  QWidget inset;
  QComboBox* list = new QComboBox(&inset);
  QPushButton* add = new QPushButton("Add", &inset);
  QPushButton* clear = new QPushButton("Clear", &inset);
  ScriptedDialogs dialogs;
  std::vector<std::string> loads;
  int focusMoves = 0;
  Favorites favorites{list,
                      add,
                      clear,
                      folder / "Config.ini",
                      [this](const std::string& p) { loads.push_back(p); },
                      [this] { ++focusMoves; },
                      dialogs.hooks()};
};

TEST_F(FavoritesTest, StartUpWithTheSecondOfThreeMissingShowsTwoAndChoosingLoadsTheRightOne) {
  writeBytes(folder / "Config.ini",
             "[FirstExec]\nValue=1\n[FavorisLink]\n1=" + path("Morning show.pal") +
                 "\n2=" + path("Gone.pal") + "\n3=" + path("Quiz.pal") + "\n[Favoris]\nNb=3\n");
  startUp();
  EXPECT_EQ(shownTexts(), (std::vector<QString>{"Morning show", "Quiz"}));
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_FALSE(list->itemIcon(0).isNull());
  EXPECT_TRUE(loads.empty());  // filling the list loads nothing

  list->activated(1);
  EXPECT_EQ(loads, std::vector<std::string>{path("Quiz.pal")});
  EXPECT_EQ(focusMoves, 1);

  favorites.SaveFavorites();  // renumbered: the keys themselves are favoritelinks_test's
  ASSERT_TRUE(favorites.lastSave());
  EXPECT_EQ(IniFile::load(folder / "Config.ini").value("Favoris", "Nb"), "2");
}

TEST_F(FavoritesTest, AddShowsItsDialogAndTheNextSaveStoresIt) {
  startUp();
  dialogs.paths = {QString::fromStdString(path("Night.pal"))};
  pressAdd();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, "open");
  EXPECT_EQ(dialogs.shown[0].title, "Add a jingle palette to your favorite");
  EXPECT_EQ(dialogs.eventsProcessed, 1);
  EXPECT_EQ(shownTexts(), std::vector<QString>{"Night"});
  EXPECT_FALSE(std::filesystem::exists(folder / "Config.ini"));  // not written yet

  // Saved at quit, and back at the next start.
  favorites.SaveFavorites();
  favorites.EmptyFavorites();
  EXPECT_EQ(list->count(), 0);
  favorites.LoadFavorites();
  EXPECT_EQ(shownTexts(), std::vector<QString>{"Night"});
}

TEST_F(FavoritesTest, AddOfAMissingFileACancelOrARepeatChangesNothing) {
  startUp();
  dialogs.paths = {QString::fromStdString(path("Quiz.pal")),
                   QString::fromStdString(path("Gone.pal")), QString(),
                   QString::fromStdString(path("Quiz.pal"))};
  for (int i = 0; i < 4; ++i) pressAdd();
  EXPECT_EQ(shownTexts(), std::vector<QString>{"Quiz"});
  EXPECT_EQ(favorites.links().count(), 1u);
  EXPECT_EQ(dialogs.eventsProcessed, 3);  // not after the cancel
}

TEST_F(FavoritesTest, ClearAsksAndOnlyYesEmptiesTheListAndWritesNbZero) {
  writeBytes(folder / "Config.ini", "[Favoris]\nNb=1\n[FavorisLink]\n1=" + path("Quiz.pal") + "\n");
  startUp();
  const std::string before = readBytes(folder / "Config.ini");

  dialogs.answerYes = false;
  pressClear();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, "question");
  EXPECT_EQ(dialogs.shown[0].title, "Quillon");
  EXPECT_EQ(dialogs.shown[0].text, "Do you really want to clear your favorite list ?");
  EXPECT_EQ(shownTexts(), std::vector<QString>{"Quiz"});
  EXPECT_EQ(readBytes(folder / "Config.ini"), before);

  dialogs.answerYes = true;
  pressClear();
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(IniFile::load(folder / "Config.ini").value("Favoris", "Nb"), "0");
}

TEST_F(FavoritesTest, EqualNamesStayPairedWithTheirPaths) {
  std::filesystem::create_directory(folder / "other");
  writeBytes(folder / "other" / "Quiz.pal", "");
  startUp();
  dialogs.paths = {QString::fromStdString(path("Quiz.pal")),
                   QString::fromStdString((folder / "other" / "Quiz.pal").string())};
  pressAdd();
  pressAdd();
  ASSERT_EQ(list->count(), 2);
  EXPECT_NE(list->itemText(0), list->itemText(1));
  list->activated(1);
  EXPECT_EQ(loads, std::vector<std::string>{(folder / "other" / "Quiz.pal").string()});
}

}  // namespace
}  // namespace quillon::palette::test
