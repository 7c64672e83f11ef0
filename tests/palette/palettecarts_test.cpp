// Palettes loaded into and saved from 26 real carts on the fake engine, on
// real files in a folder per test.
#include "palette/palettecarts.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cart/cartouche.h"
#include "cartgrid.h"
#include "childprocess.h"
#include "palette/inifile.h"
#include "support/fakeengine.h"
#include "tempfolder.h"

namespace quillon::palette::test {
namespace {

class PaletteCarts : public ::testing::Test {
 public:
  // A fake audio file of that many seconds (44100 Hz stereo).
  void addFile(const std::string& path, int seconds = 10) {
    quillon::test::FakeFile file;
    file.frames = 44100LL * seconds;
    engine.media.add(path, file);
  }
  std::string audioPath(int i) const { return "/jingles/jingle " + std::to_string(i) + ".mp3"; }
  cart::Cartouche& cart(int i) { return *carts[static_cast<std::size_t>(i)]; }
  bool isEmpty(int i) {
    const cart::Cartouche& c = cart(i);
    return c.GetTitle().empty() && c.GetVolume() == "100" && c.Getloop() == "False" &&
           c.GetFadein() == "False" && c.GetFadeout() == "False";
  }

  quillon::test::FakeEngine engine;
  CartGrid grid{engine};
  std::vector<cart::Cartouche*>& carts = grid.carts;
  TempFolder folder;
};

TEST_F(PaletteCarts, ARoundTripGivesBackEveryCartAndEmptyCartsStayEmpty) {
  // Every third cart empty; the others with their own volume and switches.
  for (int i = 0; i < kPaletteCarts; ++i) {
    if (i % 3 == 2) continue;
    addFile(audioPath(i));
    ASSERT_TRUE(cart(i).SetTitle(audioPath(i)));
    cart(i).SetVolume(i * 4);
    cart(i).Setloop(i % 2);
    cart(i).SetFadein(i % 4 < 2);
    cart(i).SetFadeout(i % 5 == 0);
  }
  const std::string longPath = "/jingles/" + std::string(300, 'n') + ".mp3";  // beyond 254
  addFile(longPath);
  ASSERT_TRUE(cart(1).SetTitle(longPath));
  const auto file = folder / "round.pal";
  ASSERT_TRUE(savePaletteFile(carts, file));

  quillon::test::FakeEngine other;
  other.media = engine.media;
  CartGrid otherGrid(other);
  const std::vector<cart::Cartouche*>& loaded = otherGrid.carts;
  for (int i = 2; i < kPaletteCarts; i += 3) {
    // Carts the palette leaves empty are emptied even when they held a file.
    ASSERT_TRUE(loaded[static_cast<std::size_t>(i)]->SetTitle(audioPath(i + 1)));
    loaded[static_cast<std::size_t>(i)]->SetVolume(7);
  }
  const PaletteLoadReport report = LoadPaletteFile(loaded, file);
  EXPECT_TRUE(report.missingFiles.empty());
  EXPECT_TRUE(report.skippedKeys.empty());
  for (int i = 0; i < kPaletteCarts; ++i) {
    SCOPED_TRACE(i);
    const cart::Cartouche& c = *loaded[static_cast<std::size_t>(i)];
    if (i % 3 == 2) {
      EXPECT_EQ(c.GetTitle(), "");
      EXPECT_EQ(c.GetVolume(), "100");
      continue;
    }
    EXPECT_EQ(c.GetTitle(), i == 1 ? longPath : audioPath(i));
    EXPECT_EQ(c.GetVolume(), std::to_string(i * 4));
    EXPECT_EQ(c.Getloop(), i % 2 ? "True" : "False");
    EXPECT_EQ(c.GetFadein(), i % 4 < 2 ? "True" : "False");
    EXPECT_EQ(c.GetFadeout(), i % 5 == 0 ? "True" : "False");
  }
}

TEST_F(PaletteCarts, OpeningStopsEveryCartAndFillsOnlyTheTitledSections) {
  addFile("/j/zero.ogg");
  addFile("/j/five.wma");
  for (int i = 0; i < kPaletteCarts; ++i) {
    addFile(audioPath(i));
    ASSERT_TRUE(cart(i).SetTitle(audioPath(i)));
  }
  for (int i : {1, 5, 25}) {
    cart(i).ListenMusic();
    ASSERT_TRUE(cart(i).Playing());
  }
  writeBytes(
      folder / "two.pal",
      "[ 0]\nTITLE=/j/zero.ogg\nVOLUME=50\n[1]\nVOLUME=20\nLOOP=1\n[5]\nTITLE = /j/five.wma \n");
  LoadPaletteFile(carts, folder / "two.pal");
  for (int i = 0; i < kPaletteCarts; ++i) EXPECT_FALSE(cart(i).Playing()) << i;
  EXPECT_EQ(cart(0).GetTitle(), "/j/zero.ogg");
  EXPECT_EQ(cart(0).GetVolume(), "50");
  EXPECT_EQ(cart(5).GetTitle(), "/j/five.wma");
  EXPECT_EQ(cart(5).GetVolume(), "100");  // a missing key is not applied as 0
  for (int i = 0; i < kPaletteCarts; ++i) {
    if (i != 0 && i != 5) {
      EXPECT_TRUE(isEmpty(i)) << i;
    }
  }
}

TEST_F(PaletteCarts, AMissingOrForeignFileEmptiesEveryCart) {
  const std::string foreign =
      "\x7f"
      "ELF\x01\x02 not a palette\n\0\0\xff";
  writeBytes(folder / "foreign.pal", foreign);
  for (const auto& path : {folder / "nowhere.pal", folder / "foreign.pal", folder.path()}) {
    SCOPED_TRACE(path.string());
    for (int i = 0; i < kPaletteCarts; ++i) {
      addFile(audioPath(i));
      ASSERT_TRUE(cart(i).SetTitle(audioPath(i)));
      cart(i).Setloop(1);
    }
    const PaletteLoadReport report = LoadPaletteFile(carts, path);
    EXPECT_TRUE(report.missingFiles.empty());
    for (int i = 0; i < kPaletteCarts; ++i) EXPECT_TRUE(isEmpty(i)) << i;
  }
}

TEST_F(PaletteCarts, AMissingFileInSectionTwoStaysBoundAndIsSavedBackUnchanged) {
  // A Windows path, as a palette made on another machine holds.
  const std::string windowsPath = R"(C:\Jingles\Top de l'heure.mp3)";
  const auto title = [&](int i) { return i == 2 ? windowsPath : audioPath(i); };
  std::string text;
  for (int i = 0; i < kPaletteCarts; ++i) {
    if (i != 2) addFile(audioPath(i));
    text += "[" + std::to_string(i) + "]\nTITLE=" + title(i) + "\nVOLUME=60\nLOOP=1\n";
  }
  writeBytes(folder / "moved.pal", text);
  const PaletteLoadReport report = LoadPaletteFile(carts, folder / "moved.pal");
  EXPECT_EQ(report.missingFiles, std::vector<int>{2});
  for (int i = 0; i < kPaletteCarts; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cart(i).GetTitle(), title(i));
    EXPECT_EQ(cart(i).GetVolume(), "60");
    EXPECT_EQ(cart(i).Getloop(), "True");
  }
  EXPECT_TRUE(cart(2).fileMissing());

  // Saved again, the moved file's section is written back as it was.
  ASSERT_TRUE(savePaletteFile(carts, folder / "again.pal"));
  EXPECT_EQ(IniFile::load(folder / "again.pal").value("2", "TITLE"), windowsPath);
}

TEST_F(PaletteCarts, ANumberOutsideSixteenBitsIsSkippedAndTheLoadGoesOn) {
  std::string text;
  for (int i = 0; i < kPaletteCarts; ++i) {
    addFile(audioPath(i));
    text += "[" + std::to_string(i) + "]\nTITLE=" + audioPath(i) +
            "\nVOLUME=" + (i == 4 ? "40000" : "30") + "\nLOOP=" + (i == 4 ? "-32769" : "1") +
            "\nFADEIN=1\n";
  }
  writeBytes(folder / "big.pal", text);
  const PaletteLoadReport report = LoadPaletteFile(carts, folder / "big.pal");
  ASSERT_EQ(report.skippedKeys.size(), 2u);
  EXPECT_EQ(report.skippedKeys[0].cart, 4);
  EXPECT_EQ(report.skippedKeys[0].key, "VOLUME");
  EXPECT_EQ(report.skippedKeys[1].key, "LOOP");
  // Cart 4 keeps the values of an emptied cart for the skipped keys.
  EXPECT_EQ(cart(4).GetVolume(), "100");
  EXPECT_EQ(cart(4).Getloop(), "False");
  EXPECT_EQ(cart(4).GetFadein(), "True");
  for (int i = 5; i < kPaletteCarts; ++i) {
    EXPECT_EQ(cart(i).GetTitle(), audioPath(i)) << i;
    EXPECT_EQ(cart(i).GetVolume(), "30") << i;
  }
}

TEST_F(PaletteCarts, ASaveThatCannotBeWrittenReportsWhyAndLeavesTheOldFileWhole) {
  const std::string old = "[0]\nTITLE=/old.mp3\n[40]\nTITLE=/forty.mp3\n";
  writeBytes(folder / "old.pal", old);
  for (int i = 0; i < kPaletteCarts; ++i) {
    addFile(audioPath(i));
    ASSERT_TRUE(cart(i).SetTitle(audioPath(i)));
  }
  // A disk that fills up halfway through the new file.
  const std::optional<int> full = runInChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);  // a refused write then fails with EFBIG
    const rlimit limit{512, 512};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 254;
    const WriteResult result = savePaletteFile(carts, folder / "old.pal");
    return !result && !result.message().empty() ? 0 : 1;
  });
  ASSERT_TRUE(full.has_value());
  EXPECT_EQ(*full, 0);
  EXPECT_EQ(readBytes(folder / "old.pal"), old);
  EXPECT_EQ(folder.listing(), "old.pal");
}

}  // namespace
}  // namespace quillon::palette::test
