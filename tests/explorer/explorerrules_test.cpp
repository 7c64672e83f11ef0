// The explorer's plain rules: the resize rule, the toolbar's table, its view
// group and thumbnail rule, the audio filter, new folder names and the
// properties texts. What the panel shows is tested on the panel itself
// (explorer_*_test.cpp).
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <vector>

#include "explorer/audiofilter.h"
#include "explorer/explorerlayout.h"
#include "explorer/foldernaming.h"
#include "explorer/propertiestext.h"
#include "explorer/toolbarcommands.h"

namespace quillon::explorer {
namespace {

TEST(ExplorerLayout, ResizeFromTheDesignPlacesTheParts) {
  // Worked by hand from the design places (chooser 3375 wide, toolbar 3420
  // wide at 3480, list top 345) and the rule.
  struct Case {
    float width, height;
    TwipsRect chooser, toolbar, list;
  };
  const Case cases[] = {
      {9000, 6000, {0, 0, 5560, 330}, {5580, 0, 3420, 330}, {0, 345, 9000, 5655}},
      // 3420 + 3375: just room for the chooser's design width; one twip less.
      {6795, 3675, {0, 0, 3355, 330}, {3375, 0, 3420, 330}, {0, 345, 6795, 3330}},
      {6794, 3675, {0, 0, 3375, 330}, {3480, 0, 3420, 330}, {0, 345, 6794, 3330}},
      // The main window's left column as designed, then lower than the list top.
      {3855, 3675, {0, 0, 3375, 330}, {3480, 0, 3420, 330}, {0, 345, 3855, 3330}},
      {3855, 200, {0, 0, 3375, 330}, {3480, 0, 3420, 330}, {0, 345, 3855, 0}},
  };
  for (const Case& c : cases) {
    const ExplorerLayout after = resizeExplorer(ExplorerLayout{}, c.width, c.height);
    EXPECT_EQ(after.JamShellCombo1, c.chooser) << c.width << "x" << c.height;
    EXPECT_EQ(after.Toolbar1, c.toolbar) << c.width << "x" << c.height;
    EXPECT_EQ(after.List_File, c.list) << c.width << "x" << c.height;
  }
}

TEST(ExplorerLayout, TheRuleReadsTheToolbarsCurrentPlaceAndWidth) {
  // Narrowed after a widening, the toolbar stays where the widening put it.
  ExplorerLayout layout = resizeExplorer(resizeExplorer(ExplorerLayout{}, 9000, 5000), 4000, 5000);
  EXPECT_EQ(layout.Toolbar1.left, 5580);
  EXPECT_EQ(layout.JamShellCombo1.width, 5560);
  EXPECT_EQ(layout.List_File.width, 4000);
  layout = ExplorerLayout{};
  layout.Toolbar1.width = 2000;
  layout = resizeExplorer(layout, 6000, 5000);  // 6000 - 2000 = 4000 >= 3375
  EXPECT_EQ(layout.Toolbar1.left, 4000);
  EXPECT_EQ(layout.JamShellCombo1.width, 3980);
}

struct ViewOfList : FileListCommands {
  int style = kViewList;
  bool thumbnails = false;
  bool moveUp() override { return true; }
  bool createNewFolder(const std::string&, bool) override { return true; }
  void setViewStyle(int s) override { style = s; }
  void setThumbnails(bool on) override { thumbnails = on; }
  bool invokeCommand(const std::string&) override { return true; }
};

TEST(ViewButtonGroup, OneButtonIsDownAtATimeAndLargeIconsAloneTurnsThumbnailsOff) {
  ViewOfList list;
  ViewButtonGroup group;
  EXPECT_EQ(group.down(), 6);  // list, as the list starts
  struct Step {
    int click;
    int down, style;
    bool thumbnails;
  };
  // Thumbnails stay on through small icons, list and details and leave the
  // style as it is; large icons turns them off; spacers and others do nothing.
  const Step steps[] = {
      {8, 8, kViewList, true},        {5, 5, kViewSmallIcon, true}, {1, 5, kViewSmallIcon, true},
      {10, 5, kViewSmallIcon, true},  {3, 5, kViewSmallIcon, true}, {7, 7, kViewReport, true},
      {6, 6, kViewList, true},        {4, 4, kViewIcon, false},     {8, 8, kViewIcon, true},
      {5, 5, kViewSmallIcon, true},   {4, 4, kViewIcon, false},     {5, 5, kViewSmallIcon, false},
      {12, 5, kViewSmallIcon, false},
  };
  for (const Step& step : steps) {
    const bool ran = Toolbar1_ButtonClick(step.click, list, group);
    SCOPED_TRACE("after a click on " + std::to_string(step.click));
    EXPECT_EQ(ran, step.click != 3 && step.click != 12);  // a spacer or no button
    EXPECT_EQ(group.down(), step.down);
    EXPECT_EQ(list.style, step.style);
    EXPECT_EQ(list.thumbnails, step.thumbnails);
  }
  for (int index : {0, 9}) EXPECT_FALSE(Toolbar1_ButtonClick(index, list, group)) << index;
}

TEST(ToolbarButtons, ElevenAtTheirIndexesWithEachPictureOnce) {
  std::vector<int> pictures;
  for (std::size_t i = 0; i < kToolbarButtons.size(); ++i) {
    EXPECT_EQ(kToolbarButtons[i].index, static_cast<int>(i) + 1);
    if (kToolbarButtons[i].picture != 0) pictures.push_back(kToolbarButtons[i].picture);
  }
  // Pictures as the table gives them for buttons 1, 2, 4-8, 10, 11.
  EXPECT_EQ(pictures, (std::vector<int>{3, 2, 5, 6, 4, 7, 8, 1, 9}));
  EXPECT_EQ(kToolbarButtons[2].kind, ButtonKind::Spacer);
  EXPECT_EQ(kToolbarButtons[8].kind, ButtonKind::Spacer);
}

TEST(AudioFilter, SplitsTheDesignFilterIntoItsFourPatternsOfAnyLetterCase) {
  EXPECT_EQ(filterPatterns(), (std::vector<std::string>{"*.mp3", "*.wma", "*.wav", "*.ogg"}));
  EXPECT_EQ(filterPatterns(" *.mp3 ;; *.wav;"), (std::vector<std::string>{"*.mp3", "*.wav"}));
  EXPECT_TRUE(filterPatterns("").empty());
  // What it lets through: the four extensions in any letter case.
  for (const char* name :
       {"intro.mp3", "BED.WAV", "sting.Ogg", "promo.wMa", "/home/op/Jingles/top of hour.MP3"}) {
    EXPECT_TRUE(isListedAudioFile(name)) << name;
  }
  for (const char* name :
       {"notes.txt", "bassmp3", "mix.mp3.txt", "mix.mp4", "archive.mp3/readme", ""}) {
    EXPECT_FALSE(isListedAudioFile(name)) << name;
  }
}

TEST(UniqueFolderName, TakesTheNameOrTheFirstFreeNumberedOneOrGivesUp) {
  std::set<std::string> taken;
  auto exists = [&taken](const std::string& name) { return taken.count(name) > 0; };
  EXPECT_EQ(uniqueFolderName("New Folder", exists), "New Folder");
  taken = {"New Folder", "New Folder (2)", "New Folder (4)"};
  EXPECT_EQ(uniqueFolderName("New Folder", exists), "New Folder (3)");
  taken = {"New Folder (2)"};  // a gap before the name itself: the name is free
  EXPECT_EQ(uniqueFolderName("New Folder", exists), "New Folder");
  EXPECT_EQ(uniqueFolderName(
                "New Folder", [](const std::string&) { return true; }, 50),
            std::nullopt);
}

TEST(PropertiesText, SizesLengthsRatesAndDigits) {
  EXPECT_EQ(sizeText(0), "0 bytes");
  EXPECT_EQ(sizeText(1), "1 byte");
  EXPECT_EQ(sizeText(1023), "1,023 bytes");
  EXPECT_EQ(sizeText(1536), "1.5 KB (1,536 bytes)");
  EXPECT_EQ(sizeText(3355443), "3.2 MB (3,355,443 bytes)");         // 3.19999 MB
  EXPECT_EQ(sizeText(5368709120), "5.0 GB (5,368,709,120 bytes)");  // 5 x 1024^3
  EXPECT_EQ(sizeText(-1), "-");
  EXPECT_EQ(lengthText(0), "0:00.000");
  EXPECT_EQ(lengthText(2000), "0:02.000");
  EXPECT_EQ(lengthText(59999), "0:59.999");
  EXPECT_EQ(lengthText(60000), "1:00.000");
  EXPECT_EQ(lengthText(4502250), "75:02.250");
  EXPECT_EQ(lengthText(-5), "-");
  EXPECT_EQ(sampleRateText(44100), "44,100 Hz");
  EXPECT_EQ(sampleRateText(8000), "8,000 Hz");
  EXPECT_EQ(sampleRateText(0), "-");
  EXPECT_EQ(groupedDigits(999), "999");
  EXPECT_EQ(groupedDigits(1000), "1,000");
  EXPECT_EQ(groupedDigits(-1234567), "-1,234,567");
  EXPECT_EQ(groupedDigits(std::numeric_limits<std::int64_t>::min()), "-9,223,372,036,854,775,808");
}

}  // namespace
}  // namespace quillon::explorer
