// FavoriteLinks and Config.ini: start-up reads, saves, Clear, and the names
// favourites are shown by.
#include "palette/favoritelinks.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "palette/palettenames.h"
#include "testfiles.h"

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

  ASSERT_TRUE(links.SaveFavorites(folder / "Config.ini"));
  EXPECT_EQ(readBytes(folder / "Config.ini"),  // the old key 3 stays, unread
            "[FirstExec]\nValue=1\n[FavorisLink]\n1=/p/Morning show.pal\n2=/p/Quiz.pal\n"
            "3=/p/Quiz.pal\n[Favoris]\nNb=2\n");
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
      {"Nb=abc\n", {""}},
      {"Nb=-2\n", {""}},
      {"Nb=2\n", {"", "/a.pal", "/b.pal"}},
      {"Nb=2x\n", {"", "/a.pal", "/b.pal"}},
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

TEST_F(Favorites, TheRealExistenceTestOpensTheFile) {
  writeBytes(folder / "here.pal", "");
  EXPECT_TRUE(canOpenForReading((folder / "here.pal").string()));
  EXPECT_FALSE(canOpenForReading((folder / "gone.pal").string()));
  EXPECT_FALSE(canOpenForReading(folder.path().string()));
  EXPECT_FALSE(canOpenForReading(""));
}

TEST_F(Favorites, AddSavesAsTheNextKeyAndClearWritesNbZeroAtOnce) {
  const auto config = folder / "sub" / "Config.ini";  // its folder is made when missing
  FavoriteLinks links;
  links.add("/left/over.pal");
  links.LoadFavorites(config);  // no Config.ini: no favourites
  EXPECT_EQ(links.links(), Links{""});
  EXPECT_EQ(links.add("/a.pal"), 1u);
  EXPECT_EQ(links.add("/b.pal"), 2u);
  EXPECT_EQ(links.add("/a.pal"), 1u);  // already listed: not added twice
  ASSERT_TRUE(links.SaveFavorites(config));
  EXPECT_EQ(readBytes(config), "[FavorisLink]\n1=/a.pal\n2=/b.pal\n[Favoris]\nNb=2\n");

  ASSERT_TRUE(links.clearAndStore(config));
  EXPECT_EQ(links.links(), Links{""});
  EXPECT_EQ(readBytes(config), "[FavorisLink]\n1=/a.pal\n2=/b.pal\n[Favoris]\nNb=0\n");

  writeBytes(folder / "file", "");
  EXPECT_FALSE(links.SaveFavorites(folder / "file" / "Config.ini").message().empty());
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
