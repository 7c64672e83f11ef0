// FavoriteLinks and Config.ini: start-up reads, saves, Clear, and the names
// favourites are shown by.
#include "palette/favoritelinks.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "palette/inifile.h"
#include "palette/palettenames.h"
#include "tempfolder.h"

namespace quillon::palette::test {
namespace {

using Links = std::vector<std::string>;

class Favorites : public ::testing::Test {
 public:
  // Files that "exist" for the existence test.
  FavoriteLinks::ExistenceTest existing(std::set<std::string> files) {
    return [files = std::move(files), this](const std::string& path) {
      ++existenceTests;
      return files.count(path) > 0;
    };
  }
  FavoriteLinks loaded(std::string_view configText, std::set<std::string> files) {
    FavoriteLinks links;
    links.LoadFavorites(IniDocument::parse(configText), existing(std::move(files)));
    return links;
  }

  int existenceTests = 0;
  TempFolder folder;
};

TEST_F(Favorites, NbThreeWithTheSecondMissingListsTheOtherTwoAndSavesThemRenumbered) {
  writeBytes(folder / "Config.ini",
             "[FirstExec]\nValue=1\n[FavorisLink]\n1=/p/Morning show.pal\n2=/p/Gone.pal\n"
             "3=/p/Quiz.pal\n[Favoris]\nNb=3\n");
  FavoriteLinks links;
  links.LoadFavorites(folder / "Config.ini", existing({"/p/Morning show.pal", "/p/Quiz.pal"}));
  EXPECT_EQ(links.links(), (Links{"", "/p/Morning show.pal", "/p/Quiz.pal"}));
  EXPECT_EQ(links.link(2), "/p/Quiz.pal");

  ASSERT_TRUE(links.SaveFavorites(folder / "Config.ini"));
  const IniFile saved = IniFile::load(folder / "Config.ini");
  EXPECT_EQ(saved.value("FavorisLink", "1"), "/p/Morning show.pal");
  EXPECT_EQ(saved.value("FavorisLink", "2"), "/p/Quiz.pal");
  EXPECT_EQ(saved.value("FavorisLink", "3"), "/p/Quiz.pal");  // old key 3 stays
  EXPECT_EQ(saved.value("Favoris", "Nb"), "2");
  EXPECT_EQ(saved.value("FirstExec", "Value"), "1");
}

TEST_F(Favorites, NbDecidesHowManyStoredKeysCount) {
  const std::string keys = "[FavorisLink]\n1=/a.pal\n2=/b.pal\n 3 =/c.pal\n";
  const std::set<std::string> all{"/a.pal", "/b.pal", "/c.pal"};
  struct Case {
    std::string nb;
    Links expected;
  };
  const Case cases[] = {
      {"", {""}},
      {"Nb=\n", {""}},
      {"Nb=abc\n", {""}},
      {"Nb=-2\n", {""}},
      {"Nb=0\n", {""}},
      {"Nb=2\n", {"", "/a.pal", "/b.pal"}},
      {"Nb= 2 \n", {"", "/a.pal", "/b.pal"}},
      {"Nb=2x\n", {"", "/a.pal", "/b.pal"}},
      {"Nb=3\n", {"", "/a.pal", "/b.pal", "/c.pal"}},
      {"Nb=1000000000\n", {"", "/a.pal", "/b.pal", "/c.pal"}},
      {"Nb=99999999999999999999999999\n", {"", "/a.pal", "/b.pal", "/c.pal"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nb);
    existenceTests = 0;
    EXPECT_EQ(loaded(keys + "[Favoris]\n" + c.nb, all).links(), c.expected);
    // Only keys that exist are looked at: a huge Nb costs nothing.
    EXPECT_EQ(existenceTests, static_cast<int>(c.expected.size()) - 1);
  }
}

TEST_F(Favorites, OddStoredKeysAndRepeatedPathsKeepEveryEntryPaired) {
  const FavoriteLinks links = loaded(
      "[Favoris]\nNb=9\n[favorislink]\n3=/c.pal\n1=/a.pal\n01=/zero.pal\nx=/x.pal\n"
      "2=/a.pal\n1=/second one.pal\n4=\n5=/c.pal\n",
      {"/a.pal", "/c.pal", "/zero.pal", "/x.pal", "/second one.pal"});
  EXPECT_EQ(links.links(), (Links{"", "/a.pal", "/c.pal"}));
}

TEST_F(Favorites, NoConfigIniMeansNoFavorites) {
  FavoriteLinks links;
  links.add("/left/over.pal");
  links.LoadFavorites(folder / "Config.ini");
  EXPECT_EQ(links.links(), Links{""});
  EXPECT_EQ(folder.listing(), "");
}

TEST_F(Favorites, TheRealExistenceTestOpensTheFile) {
  writeBytes(folder / "here.pal", "");
  EXPECT_TRUE(canOpenForReading((folder / "here.pal").string()));
  EXPECT_FALSE(canOpenForReading((folder / "gone.pal").string()));
  EXPECT_FALSE(canOpenForReading(folder.path().string()));
  EXPECT_FALSE(canOpenForReading(""));
}

TEST_F(Favorites, AddThenSaveStoresTheNewOneAsKeyMPlusOne) {
  FavoriteLinks links = loaded("[Favoris]\nNb=1\n[FavorisLink]\n1=/a.pal\n", {"/a.pal"});
  EXPECT_EQ(links.add("/b.pal"), 2u);
  EXPECT_EQ(links.add("/a.pal"), 1u);  // already listed: not added twice
  EXPECT_EQ(links.count(), 2u);
  ASSERT_TRUE(links.SaveFavorites(folder / "sub" / "Config.ini"));
  const IniFile saved = IniFile::load(folder / "sub" / "Config.ini");
  EXPECT_EQ(saved.value("FavorisLink", "2"), "/b.pal");
  EXPECT_EQ(saved.value("Favoris", "Nb"), "2");
}

TEST_F(Favorites, ClearWritesNbZeroAtOnceAndKeepsTheLinks) {
  writeBytes(folder / "Config.ini", "[Favoris]\nNb=1\n[FavorisLink]\n1=/a.pal\n");
  FavoriteLinks links;
  links.LoadFavorites(folder / "Config.ini", existing({"/a.pal"}));
  ASSERT_TRUE(links.clearAndStore(folder / "Config.ini"));
  EXPECT_EQ(links.links(), Links{""});
  EXPECT_EQ(readBytes(folder / "Config.ini"), "[Favoris]\nNb=0\n[FavorisLink]\n1=/a.pal\n");
  ASSERT_TRUE(links.SaveFavorites(folder / "Config.ini"));
  EXPECT_EQ(IniFile::load(folder / "Config.ini").value("Favoris", "Nb"), "0");
}

TEST_F(Favorites, ASaveThatCannotBeWrittenSaysWhy) {
  writeBytes(folder / "file", "");
  FavoriteLinks links;
  links.add("/a.pal");
  const WriteResult result = links.SaveFavorites(folder / "file" / "Config.ini");
  EXPECT_FALSE(result);
  EXPECT_FALSE(result.message().empty());
}

TEST(FavoriteEntryTexts, EqualNamesAreToldApartByTheirFolder) {
  FavoriteLinks links;
  for (const char* path :
       {"/a/Morning.pal", "/b/Quiz.pal", R"(C:\Shows\Morning.pal)", "Morning.pal"}) {
    links.add(path);
  }
  EXPECT_EQ(favoriteEntryTexts(links),
            (Links{"Morning (/a)", "Quiz", R"(Morning (C:\Shows))", "Morning ()"}));
}

TEST(PaletteNames, TheSavedNameEndsInDotPalExactly) {
  EXPECT_EQ(withPaletteExtension("Morning"), "Morning.pal");
  EXPECT_EQ(withPaletteExtension("Morning.pal"), "Morning.pal");
  EXPECT_EQ(withPaletteExtension("Morning.PAL"), "Morning.PAL.pal");
  EXPECT_EQ(withPaletteExtension("/shows/a.pal.bak"), "/shows/a.pal.bak.pal");
  EXPECT_EQ(withPaletteExtension("pal"), "pal.pal");
}

TEST(PaletteNames, AFavoriteIsShownByItsFileNameWithoutTheExtension) {
  const std::pair<std::string, std::string> cases[] = {
      {"/home/ops/Palettes/Morning show.pal", "Morning show"},
      {R"(C:\Palettes\Morning show.pal)", "Morning show"},
      {R"(/mnt/win\share/Quiz.pal)", "Quiz"},  // "/" wins over "\"
      {"Relative.pal", "Relative"},
      {"/p/Été café.pal", "Été café"},
      {"/p/Morning.PAL", "Morning"},
      {"/p/Émission", "Émis"},  // eight characters, ten bytes
      {"/p/.pal", ".pal"},
      {"/p/ab", "ab"},
      {"/p/", ""},
  };
  for (const auto& [path, name] : cases) EXPECT_EQ(favoriteDisplayName(path), name) << path;
}

}  // namespace
}  // namespace quillon::palette::test
