// The toolbar's table and its group of view buttons. What each button does to
// the list is tested on the panel itself (explorer_*_test.cpp).
#include "explorer/toolbarcommands.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon::explorer {
namespace {

struct AcceptingList : FileListCommands {
  bool moveUp() override { return true; }
  bool createNewFolder(const std::string&, bool) override { return true; }
  void setViewStyle(int) override {}
  void setThumbnails(bool) override {}
  bool invokeCommand(const std::string&) override { return true; }
};

TEST(ViewButtonGroup, ListIsDownAtStartOneButtonIsDownAtATimeAndSpacersDoNothing) {
  AcceptingList list;
  ViewButtonGroup group;
  EXPECT_EQ(group.down(), 6);
  const std::vector<std::pair<int, int>> clicksAndDown{{8, 8}, {5, 5}, {1, 5}, {10, 5},
                                                       {3, 5}, {4, 4}, {7, 7}, {12, 7}};
  for (const auto& [click, down] : clicksAndDown) {
    const bool ran = Toolbar1_ButtonClick(click, list, group);
    EXPECT_EQ(ran, click != 3 && click != 12) << click;  // a spacer or no button
    EXPECT_EQ(group.down(), down) << "after a click on " << click;
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
