// The toolbar's Open and Save commands over 26 real carts on the fake engine,
// and the favourites inset, on real widgets and real files. Their dialogs are
// answered by the test. Which stored favourites count, and how they are
// renumbered, is favoritelinks_test's.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "cartgrid.h"
#include "palette/favorites.h"
#include "palette/inifile.h"
#include "palette/palettecommands.h"
#include "palette/palettedialogs.h"
#include "scripteddialogs.h"

namespace quillon::palette::test {
namespace {

class PaletteCommandsTest : public CartGridTest {
 public:
  QString inFolder(const std::string& name) const {
    return QString::fromStdString((folder / name).string());
  }

  ScriptedDialogs dialogs;
  PaletteCommands commands{[this] { return carts; }, dialogs.hooks()};
};

TEST_F(PaletteCommandsTest, SaveAddsDotPalAndConfirmsOrWarnsWithTheFileAndTheReason) {
  bind(0, "/j/a.mp3");
  writeBytes(folder / "file", "");
  const QString unwritable = inFolder("file") + "/Morning.pal";
  dialogs.paths = {inFolder("Morning.PAL"), unwritable};
  commands.SavePalette();
  commands.SavePalette();
  ASSERT_EQ(dialogs.shown.size(), 4u);
  EXPECT_EQ(dialogs.shown[0].kind, "save");
  EXPECT_EQ(dialogs.shown[0].title, "Save your file");
  EXPECT_EQ(dialogs.shown[1].kind, "inform");
  EXPECT_EQ(dialogs.shown[1].title, "Quillon Beta version");
  EXPECT_EQ(dialogs.shown[1].text, QString::fromUtf8("La palette a été correctement enregistrée"));
  EXPECT_EQ(folder.listing(), "Morning.PAL.pal file");
  EXPECT_EQ(IniFile::load(folder / "Morning.PAL.pal").value("0", "TITLE"), "/j/a.mp3");

  EXPECT_EQ(dialogs.shown[3].kind, "warn");  // never a confirmation
  const QString warning = dialogs.shown[3].text;
  EXPECT_TRUE(warning.contains(unwritable)) << warning.toStdString();
  EXPECT_TRUE(warning.contains("\n\n") && !warning.endsWith("\n\n"));  // a reason follows
}

TEST_F(PaletteCommandsTest, CancelledDialogsChangeNothingAndOpenLoadsWithoutAMessage) {
  bind(3, "/j/d.wav");
  carts[3]->ListenMusic();
  commands.SavePalette();
  commands.OpenPalette();
  ASSERT_EQ(dialogs.shown.size(), 2u);  // the two dialogs, no message
  EXPECT_EQ(dialogs.shown[1].kind, "open");
  EXPECT_EQ(dialogs.shown[1].title, "Open your file");
  EXPECT_EQ(dialogs.eventsProcessed, 0);
  EXPECT_TRUE(carts[3]->Playing());
  EXPECT_EQ(folder.listing(), "");

  writeBytes(folder / "show.pal", "[1]\nTITLE=/j/d.wav\nVOLUME=42\n");
  dialogs.paths = {inFolder("show.pal")};
  commands.OpenPalette();
  EXPECT_EQ(dialogs.eventsProcessed, 1);
  EXPECT_EQ(dialogs.shown.size(), 3u);
  EXPECT_FALSE(carts[3]->Playing());
  EXPECT_EQ(carts[1]->GetVolume(), "42");
}

using Texts = std::vector<QString>;

class FavoritesTest : public ::testing::Test, public FavoritesInsetWidgets {
 public:
  FavoritesTest() {
    std::filesystem::create_directory(folder / "other");
    for (const char* name : {"Morning show.pal", "Quiz.pal", "Night.pal", "other/Night.pal"}) {
      writeBytes(folder / name, "[0]\nTITLE=/j/a.mp3\n");
    }
  }
  std::string path(const char* name) const { return (folder / name).string(); }
  Texts shownTexts() const {
    Texts texts;
    for (int i = 0; i < list->count(); ++i) texts.push_back(list->itemText(i));
    return texts;
  }
  // The program's start-up: emptied, then read.
  void startUp() {
    favorites.EmptyFavorites();
    favorites.LoadFavorites();
  }

  TempFolder folder;
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

TEST_F(FavoritesTest, StartUpChoiceAndAddWrittenAtOnce) {
  writeBytes(folder / "Config.ini", "[FavorisLink]\n1=" + path("Quiz.pal") +
                                        "\n2=" + path("Gone.pal") +
                                        "\n3=" + path("Morning show.pal") + "\n[Favoris]\nNb=3\n");
  startUp();
  EXPECT_EQ(shownTexts(), (Texts{"Quiz", "Morning show"}));
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_FALSE(list->itemIcon(0).isNull());
  EXPECT_TRUE(loads.empty());  // filling the list loads nothing
  list->activated(1);
  EXPECT_EQ(loads, std::vector<std::string>{path("Morning show.pal")});
  EXPECT_EQ(focusMoves, 1);

  // A missing file, a cancel and a repeat change nothing; each new one is
  // written at once.
  dialogs.paths = {QString::fromStdString(path("Night.pal")),
                   QString::fromStdString(path("Gone.pal")), QString(),
                   QString::fromStdString(path("Quiz.pal")),
                   QString::fromStdString(path("other/Night.pal"))};
  for (int i = 0; i < 5; ++i) add->click();
  ASSERT_EQ(dialogs.shown.size(), 5u);
  EXPECT_EQ(dialogs.shown[0].kind, "open");
  EXPECT_EQ(dialogs.shown[0].title, "Add a jingle palette to your favorite");
  EXPECT_EQ(dialogs.eventsProcessed, 4);  // not after the cancel
  ASSERT_EQ(list->count(), 4);
  EXPECT_NE(list->itemText(2), list->itemText(3));  // equal names told apart
  list->activated(3);
  EXPECT_EQ(loads.back(), path("other/Night.pal"));
  const IniFile stored = IniFile::load(folder / "Config.ini");
  EXPECT_EQ(stored.value("Favoris", "Nb"), "4");
  EXPECT_EQ(stored.value("FavorisLink", "3"), path("Night.pal"));
  EXPECT_EQ(stored.value("FavorisLink", "4"), path("other/Night.pal"));
}

TEST_F(FavoritesTest, ClearAsksAndOnlyYesEmptiesTheListAndWritesNbZero) {
  writeBytes(folder / "Config.ini", "[Favoris]\nNb=1\n[FavorisLink]\n1=" + path("Quiz.pal") + "\n");
  startUp();
  const std::string before = readBytes(folder / "Config.ini");

  dialogs.answerYes = false;
  clear->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, "question");
  EXPECT_EQ(dialogs.shown[0].title, "Quillon");
  EXPECT_EQ(dialogs.shown[0].text, "Do you really want to clear your favorite list ?");
  EXPECT_EQ(shownTexts(), Texts{"Quiz"});
  EXPECT_EQ(readBytes(folder / "Config.ini"), before);

  dialogs.answerYes = true;
  clear->click();
  EXPECT_EQ(list->count(), 0);
  EXPECT_EQ(IniFile::load(folder / "Config.ini").value("Favoris", "Nb"), "0");
}

}  // namespace
}  // namespace quillon::palette::test
