#include "explorer/explorerlayout.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quillon::explorer
