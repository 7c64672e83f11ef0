#include "palette/paletteformat.h"

#include <gtest/gtest.h>

#include <string>

#include "palette/tempfolder.h"

namespace quillon::palette {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

PaletteLoad load(const std::string& text) { return readPalette(IniDocument::parse(text)); }

void expectEmptyFrom(const PaletteLoad& palette, int first) {
  for (int i = first; i < kPaletteCarts; ++i) {
    const PaletteCartLoad& cart = palette.carts[static_cast<std::size_t>(i)];
    EXPECT_EQ(cart.title, "") << "cart " << i;
    EXPECT_FALSE(cart.volume || cart.loop || cart.fadeIn || cart.fadeOut) << "cart " << i;
  }
}

TEST(PaletteWrite, WritesEverySectionWithItsFiveKeysInOrder) {
  TempFolder folder;
  PaletteEntries entries;
  entries[0] = {"C:\\Jingles\\Station ident.mp3", 80, false, true, false};
  entries[25] = {"/home/studio/jingles/outro.ogg", 7, true, true, true};
  ASSERT_TRUE(writePalette(folder / "morning.pal", entries));

  std::string expected =
      "[0]\nTITLE=C:\\Jingles\\Station ident.mp3\nVOLUME=80\nLOOP=0\nFADEIN=1\nFADEOUT=0\n";
  for (int i = 1; i < 25; ++i) {
    expected += "[" + std::to_string(i) + "]\nTITLE=\nVOLUME=100\nLOOP=0\nFADEIN=0\nFADEOUT=0\n";
  }
  expected += "[25]\nTITLE=/home/studio/jingles/outro.ogg\nVOLUME=7\nLOOP=1\nFADEIN=1\nFADEOUT=1\n";
  EXPECT_EQ(readBytes(folder / "morning.pal"), expected);
}

TEST(PaletteWrite, SavingOverAPaletteKeepsWhatIsNotOurs) {
  TempFolder folder;
  const std::string foreign = "; kept\n[40]\nTITLE=C:\\x.mp3\nCOLOR=&HFF\n";
  writeBytes(folder / "p.pal", foreign + "[0]\nTITLE=old\nNOTE=mine\n");
  PaletteEntries entries;
  entries[0].path = "new";
  ASSERT_TRUE(writePalette(folder / "p.pal", entries));
  const std::string saved = readBytes(folder / "p.pal");
  EXPECT_EQ(saved.substr(0, foreign.size()), foreign);
  EXPECT_NE(saved.find("[0]\nTITLE=new\nNOTE=mine\nVOLUME=100\n"), std::string::npos);
  EXPECT_EQ(IniDocument::parse(saved).value("40", "TITLE"), "C:\\x.mp3");
}

TEST(PaletteRead, AnEmptyTitleSkipsTheWholeSection) {
  const PaletteLoad palette = load("[0]\nTITLE=\nVOLUME=50\nLOOP=1\n[5]\nTITLE=x\n");
  EXPECT_EQ(palette.carts[0].title, "");
  EXPECT_FALSE(palette.carts[0].volume);
  EXPECT_FALSE(palette.carts[0].loop);
  EXPECT_EQ(palette.carts[5].title, "x");
  for (int i : {1, 2, 3, 4, 6, 25}) EXPECT_EQ(palette.carts[static_cast<std::size_t>(i)].title, "");
}

TEST(PaletteRead, ValuesTakeTheirLeadingNumberAndAnEmptyValueIsNotApplied) {
  const PaletteLoad palette = load("[0]\nTITLE=a\nVOLUME=75abc\nLOOP=True\nFADEIN=\nFADEOUT=2.5\n");
  EXPECT_EQ(palette.carts[0].volume, 75);
  EXPECT_EQ(palette.carts[0].loop, 0);  // "True" switches nothing on
  EXPECT_FALSE(palette.carts[0].fadeIn);
  EXPECT_EQ(palette.carts[0].fadeOut, 2);
}

TEST(PaletteRead, ANumberOutOfRangeEndsTheLoadThere) {
  const PaletteLoad palette = load(
      "[0]\nTITLE=a\nVOLUME=90\n"
      "[1]\nTITLE=b\nVOLUME=32767\nLOOP=1\n"
      "[2]\nTITLE=c\nVOLUME=32768\nLOOP=1\n"
      "[3]\nTITLE=d\nVOLUME=10\n");
  ASSERT_TRUE(palette.stop);
  EXPECT_EQ(palette.stop->cart, 2);
  EXPECT_EQ(palette.stop->key, "VOLUME");
  EXPECT_EQ(palette.carts[0].volume, 90);
  EXPECT_EQ(palette.carts[1].volume, 32767);
  EXPECT_EQ(palette.carts[2].title, "c");  // what the cart received before
  EXPECT_FALSE(palette.carts[2].volume);
  EXPECT_FALSE(palette.carts[2].loop);
  expectEmptyFrom(palette, 3);
}

TEST(PaletteRead, AStopAfterSomeKeysKeepsThoseKeys) {
  const PaletteLoad palette = load("[0]\nTITLE=a\nVOLUME=60\nLOOP=1\nFADEIN=-40000\nFADEOUT=1\n");
  ASSERT_TRUE(palette.stop);
  EXPECT_EQ(palette.stop->cart, 0);
  EXPECT_EQ(palette.stop->key, "FADEIN");
  EXPECT_EQ(palette.carts[0].volume, 60);
  EXPECT_EQ(palette.carts[0].loop, 1);
  EXPECT_FALSE(palette.carts[0].fadeIn);
  EXPECT_FALSE(palette.carts[0].fadeOut);
}

TEST(PaletteRead, OnlyTheCartSectionsAreRead) {
  const PaletteLoad palette =
      load("[26]\nTITLE=no cart\n[-1]\nTITLE=no cart\n[00]\nTITLE=not zero\n[+1]\nTITLE=not one\n");
  EXPECT_FALSE(palette.stop);
  expectEmptyFrom(palette, 0);
}

}  // namespace
}  // namespace quillon::palette
