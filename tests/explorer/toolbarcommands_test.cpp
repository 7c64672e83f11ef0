// The toolbar's table, its group of view buttons and the thumbnail rule. What
// each style looks like is tested on the panel itself (explorer_*_test.cpp).
#include "explorer/toolbarcommands.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon::explorer {
namespace {

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

}  // namespace
}  // namespace quillon::explorer
