// Settings files and palettes at the edges of the file system: pipes where a
// favourite should be, symbolic links in place of Config.ini or a palette,
// paths that a settings file cannot hold, and palettes saved as UTF-16.
// Nothing may block, and nothing the operator added may be lost.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QPushButton>
#include <QWidget>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "cartgrid.h"
#include "palette/favoritelinks.h"
#include "palette/favorites.h"
#include "palette/inifile.h"
#include "palette/palettecarts.h"
#include "palette/palettecommands.h"
#include "palette/safewrite.h"
#include "palette/textencoding.h"
#include "scripteddialogs.h"
#include "testfiles.h"

namespace quillon::palette::test {
namespace {

namespace fs = std::filesystem;
using Links = std::vector<std::string>;

// `body` in a child that the alarm ends after `seconds`: what waits on a
// pipe fails the test instead of hanging it.
std::optional<int> withinSeconds(unsigned seconds, const std::function<int()>& body) {
  return runInChild([&] {
    ::alarm(seconds);
    return body();
  });
}

class PipesAndFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    writeBytes(folder / "show.pal", "[0]\nTITLE=/j/a.mp3\n");
    ASSERT_EQ(::mkfifo((folder / "pipe.pal").c_str(), 0600), 0);
    fs::create_directory(folder / "folder.pal");
    fs::create_symlink("show.pal", folder / "link to show.pal");
    fs::create_symlink("pipe.pal", folder / "link to pipe.pal");
  }
  std::string path(const char* name) const { return (folder / name).string(); }

  TempFolder folder;
};

TEST_F(PipesAndFolders, OnlyRegularFilesAreCandidatesAndNoneIsWaitedOn) {
  const std::pair<const char*, bool> cases[] = {
      {"show.pal", true},          {"link to show.pal", true}, {"pipe.pal", false},
      {"link to pipe.pal", false}, {"folder.pal", false},      {"gone.pal", false},
  };
  for (const auto& [name, candidate] : cases) {
    SCOPED_TRACE(name);
    const auto outcome = withinSeconds(5, [&] { return canOpenForReading(path(name)) ? 1 : 0; });
    ASSERT_TRUE(outcome.has_value()) << "the existence test blocked";
    EXPECT_EQ(*outcome, candidate ? 1 : 0);
  }
}

TEST_F(PipesAndFolders, StartUpSkipsAPipeAmongTheFavourites) {
  const fs::path config = folder / "Config.ini";
  writeBytes(config, "[Favoris]\nNb=4\n[FavorisLink]\n1=" + path("pipe.pal") +
                         "\n2=" + path("show.pal") + "\n3=" + path("link to pipe.pal") +
                         "\n4=" + path("link to show.pal") + "\n");
  const auto outcome = withinSeconds(5, [&] {
    FavoriteLinks links;
    links.LoadFavorites(config);
    return links.links() == Links{"", path("show.pal"), path("link to show.pal")} ? 0 : 1;
  });
  ASSERT_TRUE(outcome.has_value()) << "reading the favourites blocked";
  EXPECT_EQ(*outcome, 0);
}

// A save through a symbolic link whose target is missing or unreachable (a
// link to an existing file is inifile_test's).
class SaveThroughLinks : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(SaveThroughLinks, ADanglingLinkGetsItsTargetCreatedAndStaysALink) {
  fs::create_directory(folder / "shows");
  struct Case {
    const char* link;
    const char* target;  // as the link holds it
    const char* created;
  };
  const Case cases[] = {
      {"relative.pal", "shows/morning.pal", "shows/morning.pal"},
      {"absolute.pal", "", "shows/absolute target.pal"},
      {"chain.pal", "relative.pal", "shows/morning.pal"},  // a link to a link
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    const fs::path target = *c.target ? fs::path(c.target) : folder / c.created;
    fs::create_symlink(target, folder / c.link);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.link);
    fs::remove(folder / c.created);
    const std::string value = std::string("through ") + c.link;
    ASSERT_TRUE(WriteIni(folder / c.link, "0", "TITLE", value));
    EXPECT_TRUE(fs::is_symlink(folder / c.link));
    EXPECT_EQ(readBytes(folder / c.created), "[0]\nTITLE=" + value + "\n");
  }
  EXPECT_EQ(folder.listing(), "absolute.pal chain.pal relative.pal shows");
}

TEST_F(SaveThroughLinks, ALinkThatLeadsNowhereFailsWithTheReasonAndStaysAsItWas) {
  fs::create_symlink("no such folder/Config.ini", folder / "Config.ini");
  fs::create_symlink("loop b.pal", folder / "loop a.pal");
  fs::create_symlink("loop a.pal", folder / "loop b.pal");
  const std::pair<const char*, std::string> cases[] = {
      {"Config.ini", std::system_category().message(ENOENT)},
      {"loop a.pal", std::system_category().message(ELOOP)},
  };
  for (const auto& [name, reason] : cases) {
    SCOPED_TRACE(name);
    const WriteResult result = WriteIni(folder / name, "Favoris", "Nb", "1");
    ASSERT_FALSE(result);
    EXPECT_NE(result.message().find(reason), std::string::npos) << result.message();
    EXPECT_TRUE(fs::is_symlink(folder / name));
  }
  EXPECT_EQ(fs::read_symlink(folder / "Config.ini"), "no such folder/Config.ini");
  EXPECT_EQ(folder.listing(), "Config.ini loop a.pal loop b.pal");
}

// A path with a line break is a legal file name here; a settings file cannot
// hold it.
TEST(PathsASettingsFileCannotHold, TheOtherFavouritesAreStillStored) {
  TempFolder folder;
  const fs::path config = folder / "Config.ini";
  writeBytes(config, "[Favoris]\nNb=1\n[FavorisLink]\n1=/p/old.pal\n");
  FavoriteLinks links;
  for (const char* path : {"/p/a.pal", "/p/two\nlines.pal", "/p/b.pal", "/p/c.pal"}) {
    links.add(path);
  }
  EXPECT_TRUE(links.SaveFavorites(config));
  EXPECT_EQ(links.unstorable(), Links{"/p/two\nlines.pal"});
  const IniFile stored = IniFile::load(config);
  EXPECT_EQ(stored.value("Favoris", "Nb"), "3");
  EXPECT_EQ(stored.value("FavorisLink", "1"), "/p/a.pal");
  EXPECT_EQ(stored.value("FavorisLink", "2"), "/p/b.pal");
  EXPECT_EQ(stored.value("FavorisLink", "3"), "/p/c.pal");
}

class PaletteEdges : public CartGridTest {};

TEST_F(PaletteEdges, ACartWhoseFileNameHoldsALineBreakIsLeftOutAndTheRestSaved) {
  bind(0, "/j/a.mp3");
  bind(2, "/j/two\nlines.mp3");
  bind(3, "/j/d.mp3");
  cart(3).SetVolume(40);
  writeBytes(folder / "show.pal", "[2]\nTITLE=/j/before.mp3\n");
  EXPECT_TRUE(savePaletteFile(carts, folder / "show.pal"));
  const IniFile saved = IniFile::load(folder / "show.pal");
  EXPECT_EQ(saved.value("0", "TITLE"), "/j/a.mp3");
  EXPECT_EQ(saved.value("2", "TITLE"), "");  // the cart reads back empty, not as another file
  EXPECT_EQ(saved.value("3", "TITLE"), "/j/d.mp3");
  EXPECT_EQ(saved.value("3", "VOLUME"), "40");
}

// "Unicode" as Windows Notepad saves it: UTF-16 with a byte-order mark.
std::string utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : std::u16string(1, u'\uFEFF') + std::u16string(text)) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST_F(PaletteEdges, AUtf16PaletteLoadsAndSavingOverItChangesNothing) {
  const std::u16string text =
      u"[0]\r\nTITLE=C:\\Jingles\\\u00C9t\u00E9 \U0001F3B5.mp3\r\nVOLUME=80\r\nLOOP=1\r\n"
      u"[ 4]\r\n title = /j/e.wav \r\nFADEIN=1\r\n";
  for (const bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
    const fs::path file = folder / "notepad.pal";
    const std::string bytes = utf16(text, bigEndian);
    writeBytes(file, bytes);
    addFile("C:\\Jingles\\\xC3\x89t\xC3\xA9 \xF0\x9F\x8E\xB5.mp3");
    addFile("/j/e.wav");
    LoadPaletteFile(carts, file);
    EXPECT_EQ(cart(0).GetTitle(), "C:\\Jingles\\\xC3\x89t\xC3\xA9 \xF0\x9F\x8E\xB5.mp3");
    EXPECT_EQ(cart(0).GetVolume(), "80");
    EXPECT_EQ(cart(0).Getloop(), "True");
    EXPECT_EQ(cart(4).GetTitle(), "/j/e.wav");
    EXPECT_EQ(cart(4).GetFadein(), "True");

    const WriteResult result = savePaletteFile(carts, file);
    EXPECT_EQ(result.error(), WriteError::UnreadableFile);
    EXPECT_EQ(readBytes(file), bytes);
  }
}

// The favourites inset on real widgets, its dialogs answered by the test.
class FavouritesAsTheyChange : public ::testing::Test, public FavoritesInsetWidgets {
 public:
  FavouritesAsTheyChange() {
    for (const char* name : {"a.pal", "b.pal", "c.pal", "two\nlines.pal"}) {
      writeBytes(folder / name, "[0]\nTITLE=/j/a.mp3\n");
    }
  }
  QString path(const char* name) const { return QString::fromStdString((folder / name).string()); }
  IniFile stored() const { return IniFile::load(folder / "Config.ini"); }

  TempFolder folder;
  ScriptedDialogs dialogs;
  Favorites favorites{
      list, add, clear, folder / "Config.ini", [](const std::string&) {}, [] {}, dialogs.hooks()};
  // What the favourites told the operator, each message as it came.
  std::vector<QString> messages;
  QMetaObject::Connection listening = QObject::connect(
      &favorites, &Favorites::notStored, [this](const QString& text) { messages.push_back(text); });
};

TEST_F(FavouritesAsTheyChange, EachAddIsInConfigIniAtOnceEvenAfterOneThatCannotBeStored) {
  writeBytes(folder / "Config.ini", "[FirstExec]\nValue=1\n");
  favorites.EmptyFavorites();
  favorites.LoadFavorites();
  dialogs.paths = {path("a.pal"), path("two\nlines.pal"), path("b.pal"), path("c.pal")};
  add->click();
  EXPECT_EQ(stored().value("Favoris", "Nb"), "1");
  EXPECT_EQ(stored().value("FavorisLink", "1"), path("a.pal").toStdString());
  for (int i = 0; i < 3; ++i) add->click();
  EXPECT_EQ(list->count(), 4);  // listed for this session
  EXPECT_EQ(stored().value("Favoris", "Nb"), "3");
  EXPECT_EQ(stored().value("FavorisLink", "2"), path("b.pal").toStdString());
  EXPECT_EQ(stored().value("FavorisLink", "3"), path("c.pal").toStdString());
  EXPECT_EQ(stored().value("FirstExec", "Value"), "1");
}

TEST_F(FavouritesAsTheyChange, WhatCannotBeStoredIsSaidOnceAndWithdrawnWhenResolved) {
  dialogs.paths = {path("a.pal"), path("two\nlines.pal"), path("b.pal")};
  add->click();
  EXPECT_TRUE(messages.empty());  // all stored: nothing to say
  add->click();
  add->click();  // still not stored: said once, not again
  ASSERT_EQ(messages.size(), 1u);
  const QString message = messages[0];
  EXPECT_TRUE(message.contains(QString::fromUtf8("two\u21B5lines")) &&
              message.contains("line break"))
      << message.toStdString();
  EXPECT_EQ(list->itemText(1), QString::fromUtf8("two\u21B5lines"));

  dialogs.answerYes = true;
  clear->click();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], "");  // resolved
}

TEST_F(FavouritesAsTheyChange, AConfigIniSavedAsUtf16IsReadButNeverRewritten) {
  const std::string bytes =
      utf16(u"[Favoris]\r\nNb=1\r\n[FavorisLink]\r\n1=" + path("a.pal").toStdU16String() + u"\r\n",
            false);
  writeBytes(folder / "Config.ini", bytes);
  favorites.EmptyFavorites();
  favorites.LoadFavorites();
  EXPECT_EQ(list->count(), 1);
  dialogs.paths = {path("b.pal")};
  add->click();
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(readBytes(folder / "Config.ini"), bytes);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains("UTF-16")) << messages[0].toStdString();
}

class SaveCommand : public CartGridTest {
 public:
  ScriptedDialogs dialogs;
  PaletteCommands commands{[this] { return carts; }, dialogs.hooks()};
};

TEST_F(SaveCommand, ACartLeftOutIsNamedInsteadOfTheConfirmation) {
  bind(0, "/j/a.mp3");
  bind(2, "/j/two\nlines.mp3");
  dialogs.paths = {QString::fromStdString((folder / "show.pal").string())};
  commands.SavePalette();
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].kind, "warn");
  const QString text = dialogs.shown[1].text;
  EXPECT_TRUE(text.contains(QString::fromUtf8("C: /j/two\u21B5lines.mp3 (it holds a line break)")))
      << text.toStdString();
  EXPECT_EQ(IniFile::load(folder / "show.pal").value("0", "TITLE"), "/j/a.mp3");
}

TEST(Utf16Text, DecodesBothByteOrdersAndSurrogatePairsAndMarksWhatIsBroken) {
  struct Case {
    const char* label;
    std::string littleEndian;  // the big-endian bytes are each pair swapped
    std::string utf8;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"ASCII", "A\0=\0"s, "A="},
      {"e acute U+00E9", "\xE9\0"s, "\xC3\xA9"},
      {"euro U+20AC", "\xAC\x20", "\xE2\x82\xAC"},
      {"U+1F3B5 as D83C DFB5", "\x3C\xD8\xB5\xDF", "\xF0\x9F\x8E\xB5"},
      {"lone high surrogate",
       "\x3C\xD8"
       "A\0"s,
       "\xEF\xBF\xBD"
       "A"},
      {"lone low surrogate", "\xB5\xDF", "\xEF\xBF\xBD"},
      {"odd last byte dropped", "A\0B"s, "A"},
      {"NUL kept", "\0\0"s, "\0"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(utf16ToUtf8(c.littleEndian, false), c.utf8);
    std::string bigEndian = c.littleEndian;
    for (std::size_t i = 0; i + 1 < bigEndian.size(); i += 2)
      std::swap(bigEndian[i], bigEndian[i + 1]);
    EXPECT_EQ(utf16ToUtf8(bigEndian, true), c.utf8);
  }
}

}  // namespace
}  // namespace quillon::palette::test
