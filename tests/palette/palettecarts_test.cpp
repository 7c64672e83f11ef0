// The palette file as written, and palettes loaded into and saved from 26
// real carts on the fake engine, on real files in a folder per test.
#include "palette/palettecarts.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "cartgrid.h"
#include "palette/inifile.h"

namespace quillon::palette::test {
namespace {

using namespace std::string_literals;

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
}

class PaletteCarts : public CartGridTest {
 public:
  std::string audioPath(int i) const { return "/jingles/jingle " + std::to_string(i) + ".mp3"; }
  void bindAll() {
    for (int i = 0; i < kPaletteCarts; ++i) bind(i, audioPath(i));
  }
  // Title, volume, loop, fade-in and fade-out, as the cart reports them.
  static std::string state(const cart::Cartouche& c) {
    return c.GetTitle() + "|" + c.GetVolume() + "|" + c.Getloop() + "|" + c.GetFadein() + "|" +
           c.GetFadeout();
  }
};

constexpr const char* kEmpty = "|100|False|False|False";

TEST_F(PaletteCarts, ARoundTripGivesBackEveryCartAndEmptyCartsStayEmpty) {
  // Every third cart empty; the others with their own volume and switches.
  for (int i = 0; i < kPaletteCarts; ++i) {
    if (i % 3 == 2) continue;
    bind(i, audioPath(i));
    cart(i).SetVolume(i * 4);
    cart(i).Setloop(i % 2);
    cart(i).SetFadein(i % 4 < 2);
    cart(i).SetFadeout(i % 5 == 0);
  }
  const std::string longPath = "/jingles/" + std::string(300, 'n') + ".mp3";  // beyond 254
  bind(1, longPath);
  ASSERT_TRUE(savePaletteFile(carts, folder / "round.pal"));

  quillon::test::FakeEngine other;
  other.media = engine.media;
  const CartGrid loaded(other);
  const PaletteLoadReport report = LoadPaletteFile(loaded.carts, folder / "round.pal");
  EXPECT_TRUE(report.missingFiles.empty());
  EXPECT_TRUE(report.skippedKeys.empty());
  for (int i = 0; i < kPaletteCarts; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(state(*loaded.carts[static_cast<std::size_t>(i)]), state(cart(i)));
  }
  EXPECT_EQ(state(*loaded.carts[1]), longPath + "|4|True|True|False");
  EXPECT_EQ(state(*loaded.carts[2]), kEmpty);
}

TEST_F(PaletteCarts, OpeningStopsEveryCartAndGivesEachWhatItsSectionHolds) {
  const std::string moved = R"(C:\Jingles\Top de l'heure.mp3)";  // made on another machine
  struct Section {
    const char* label;
    std::string lines;     // of section i, for cart i
    std::string expected;  // the cart's state afterwards
  };
  const Section sections[] = {
      {"every key", "TITLE=/j/0.ogg\nVOLUME=50\nLOOP=1\nFADEIN=1\nFADEOUT=1\n",
       "/j/0.ogg|50|True|True|True"},
      {"blanks around names and values", " title = /j/1.wma \n LOOP = 1 \n",
       "/j/1.wma|100|True|False|False"},
      {"a missing key is not applied as 0", "TITLE=/j/2.mp3\n", "/j/2.mp3" + std::string(kEmpty)},
      {"no title: nothing is applied", "VOLUME=20\nLOOP=1\n", kEmpty},
      {"the leading number of each value", "TITLE=/j/4.mp3\nVOLUME=75abc\nLOOP=True\nFADEIN=2.5\n",
       "/j/4.mp3|75|False|True|False"},
      {"a missing file stays bound", "TITLE=" + moved + "\nVOLUME=60\nLOOP=1\n",
       moved + "|60|True|False|False"},
      {"numbers beyond 16 bits are skipped",
       "TITLE=/j/6.mp3\nVOLUME=40000\nLOOP=-32769\nFADEIN=1\n", "/j/6.mp3|100|False|True|False"},
      {"and the load goes on; 32767 is in range", "TITLE=/j/7.mp3\nVOLUME=30\nLOOP=32767\n",
       "/j/7.mp3|30|True|False|False"},
  };
  // Sections that are no cart's, though their numbers read the same.
  std::string text = "[08]\nTITLE=/j/8.mp3\n[+9]\nTITLE=/j/9.mp3\n";
  for (std::size_t i = 0; i < std::size(sections); ++i) {
    text += "[" + std::to_string(i) + "]\n" + sections[i].lines;
  }
  writeBytes(folder / "show.pal", text);
  for (const char* path : {"/j/0.ogg", "/j/1.wma", "/j/2.mp3", "/j/4.mp3", "/j/6.mp3", "/j/7.mp3",
                           "/j/8.mp3", "/j/9.mp3"}) {
    addFile(path);
  }
  bindAll();
  for (int i : {1, 5, 25}) cart(i).ListenMusic();
  ASSERT_TRUE(cart(25).Playing());

  const PaletteLoadReport report = LoadPaletteFile(carts, folder / "show.pal");
  EXPECT_EQ(report.missingFiles, std::vector<int>{5});
  ASSERT_EQ(report.skippedKeys.size(), 2u);
  EXPECT_EQ(report.skippedKeys[0].cart, 6);
  EXPECT_EQ(report.skippedKeys[0].key, "VOLUME");
  EXPECT_EQ(report.skippedKeys[1].key, "LOOP");
  for (int i = 0; i < kPaletteCarts; ++i) {
    SCOPED_TRACE(i < static_cast<int>(std::size(sections)) ? sections[i].label : "past the file");
    EXPECT_FALSE(cart(i).Playing());
    EXPECT_EQ(state(cart(i)),
              i < static_cast<int>(std::size(sections)) ? sections[i].expected : kEmpty);
  }
  EXPECT_TRUE(cart(5).fileMissing());

  // Saved again, the moved file's section is written back as it was.
  ASSERT_TRUE(savePaletteFile(carts, folder / "again.pal"));
  EXPECT_EQ(IniFile::load(folder / "again.pal").value("5", "TITLE"), moved);
}

TEST_F(PaletteCarts, AMissingOrForeignFileEmptiesEveryCart) {
  writeBytes(folder / "foreign.pal",
             "\x7f"
             "ELF\x01\x02 not a palette\n\0\0\xff"s);
  for (const auto& path : {folder / "nowhere.pal", folder / "foreign.pal", folder.path()}) {
    SCOPED_TRACE(path.string());
    bindAll();
    cart(3).Setloop(1);
    LoadPaletteFile(carts, path);
    for (int i = 0; i < kPaletteCarts; ++i) EXPECT_EQ(state(cart(i)), kEmpty) << i;
  }
}

}  // namespace
}  // namespace quillon::palette::test
