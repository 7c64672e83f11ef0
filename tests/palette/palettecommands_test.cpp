// The toolbar's Open and Save with their dialogs answered by the test, over
// 26 real carts on the fake engine.
#include "palette/palettecommands.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "cart/cartouche.h"
#include "cartgrid.h"
#include "palette/inifile.h"
#include "scripteddialogs.h"
#include "support/fakeengine.h"
#include "tempfolder.h"

namespace quillon::palette::test {
namespace {

class PaletteCommandsTest : public ::testing::Test {
 public:
  void bind(int i, const std::string& path) {
    quillon::test::FakeFile file;
    file.frames = 44100 * 20;
    engine.media.add(path, file);
    ASSERT_TRUE(carts[static_cast<std::size_t>(i)]->SetTitle(path));
  }
  QString inFolder(const char* name) const {
    return QString::fromStdString((folder / name).string());
  }

  quillon::test::FakeEngine engine;
  CartGrid grid{engine};
  std::vector<cart::Cartouche*>& carts = grid.carts;
  TempFolder folder;
  ScriptedDialogs dialogs;
  PaletteCommands commands{[this] { return carts; }, dialogs.hooks()};
};

TEST_F(PaletteCommandsTest, SaveAsksForAFileAddsDotPalAndConfirms) {
  bind(0, "/j/a.mp3");
  dialogs.paths = {inFolder("Morning.PAL")};
  commands.SavePalette();
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].kind, "save");
  EXPECT_EQ(dialogs.shown[0].title, "Save your file");
  EXPECT_EQ(dialogs.shown[1].kind, "inform");
  EXPECT_EQ(dialogs.shown[1].title, "Quillon Beta version");
  EXPECT_EQ(dialogs.shown[1].text, QString::fromUtf8("La palette a été correctement enregistrée"));
  EXPECT_EQ(folder.listing(), "Morning.PAL.pal");
  EXPECT_EQ(IniFile::load(folder / "Morning.PAL.pal").value("0", "TITLE"), "/j/a.mp3");
}

TEST_F(PaletteCommandsTest, ASaveThatFailsWarnsWithTheFileAndTheReasonAndNeverConfirms) {
  writeBytes(folder / "file", "");
  const QString path = inFolder("file") + "/Morning.pal";
  dialogs.paths = {path};
  commands.SavePalette();
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].kind, "warn");
  EXPECT_TRUE(dialogs.shown[1].text.contains(path)) << dialogs.shown[1].text.toStdString();
  EXPECT_TRUE(dialogs.shown[1].text.contains("\n\n"));
  EXPECT_FALSE(dialogs.shown[1].text.endsWith("\n\n"));  // a reason follows
}

TEST_F(PaletteCommandsTest, CancelledDialogsChangeNothing) {
  bind(3, "/j/d.wav");
  carts[3]->ListenMusic();
  ASSERT_TRUE(carts[3]->Playing());
  commands.SavePalette();
  commands.OpenPalette();
  ASSERT_EQ(dialogs.shown.size(), 2u);  // the two dialogs, no message
  EXPECT_EQ(dialogs.shown[1].kind, "open");
  EXPECT_EQ(dialogs.shown[1].title, "Open your file");
  EXPECT_EQ(dialogs.eventsProcessed, 0);
  EXPECT_TRUE(carts[3]->Playing());
  EXPECT_EQ(folder.listing(), "");
}

TEST_F(PaletteCommandsTest, OpenProcessesEventsOnceThenLoadsWithoutAMessage) {
  bind(7, "/j/h.ogg");
  carts[7]->ListenMusic();
  writeBytes(folder / "show.pal", "[1]\nTITLE=/j/h.ogg\nVOLUME=42\n");
  dialogs.paths = {inFolder("show.pal")};
  commands.OpenPalette();
  EXPECT_EQ(dialogs.eventsProcessed, 1);
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_FALSE(carts[7]->Playing());
  EXPECT_EQ(carts[1]->GetVolume(), "42");
}

}  // namespace
}  // namespace quillon::palette::test
