#include "explorer/toolbarcommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillon::explorer {
namespace {

// Records what the toolbar asks of the list, in order.
class RecordingList : public FileListCommands {
 public:
  bool moveUp() override { return record("up", accept); }
  bool createNewFolder(const std::string& name, bool flag) override {
    return record("mkdir " + name + (flag ? " true" : " false"), accept);
  }
  void setViewStyle(int style) override { record("style " + std::to_string(style), true); }
  void setThumbnails(bool on) override { record(on ? "thumbs on" : "thumbs off", true); }
  bool invokeCommand(const std::string& verb) override { return record("verb " + verb, accept); }

  std::vector<std::string> calls;
  bool accept = true;

 private:
  bool record(std::string call, bool result) {
    calls.push_back(std::move(call));
    return result;
  }
};

struct ClickCase {
  int index;
  std::vector<std::string> calls;
  bool ran;
};

class ToolbarClick : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ToolbarClick, AsksTheListForTheButtonsCommand) {
  RecordingList list;
  ViewButtonGroup group;
  EXPECT_EQ(Toolbar1_ButtonClick(GetParam().index, list, group), GetParam().ran);
  EXPECT_EQ(list.calls, GetParam().calls);
}

// The button table: index, what the list is asked, in order.
INSTANTIATE_TEST_SUITE_P(
    Buttons, ToolbarClick,
    ::testing::Values(ClickCase{1, {"up"}, true}, ClickCase{2, {"mkdir New Folder true"}, true},
                      ClickCase{3, {}, false},
                      ClickCase{4, {"thumbs off", "style 0"}, true},  // thumbnails off first
                      ClickCase{5, {"style 1"}, true}, ClickCase{6, {"style 2"}, true},
                      ClickCase{7, {"style 3"}, true}, ClickCase{8, {"thumbs on"}, true},
                      ClickCase{9, {}, false}, ClickCase{10, {"verb properties"}, true},
                      ClickCase{11, {"verb delete"}, true}, ClickCase{0, {}, false},
                      ClickCase{12, {}, false}));

TEST(ToolbarClick, ARefusedCommandEndsTheClickWithNothingElseTried) {
  RecordingList list;
  list.accept = false;
  ViewButtonGroup group;
  for (int index : {1, 2, 10, 11}) {
    list.calls.clear();
    EXPECT_FALSE(Toolbar1_ButtonClick(index, list, group)) << index;
    EXPECT_EQ(list.calls.size(), 1u) << index;
  }
  EXPECT_EQ(group.down(), ViewButtonGroup::kDownAtStart);
}

TEST(ViewButtonGroup, ListIsDownAtStartAndOneGroupButtonIsDownAtATime) {
  RecordingList list;
  ViewButtonGroup group;
  EXPECT_EQ(group.down(), 6);
  const std::vector<std::pair<int, int>> clicksAndDown{{8, 8}, {5, 5}, {1, 5}, {10, 5},
                                                       {3, 5}, {4, 4}, {7, 7}, {12, 7}};
  for (const auto& [click, down] : clicksAndDown) {
    Toolbar1_ButtonClick(click, list, group);
    EXPECT_EQ(group.down(), down) << "after a click on " << click;
  }
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
