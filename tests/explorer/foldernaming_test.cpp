#include "explorer/foldernaming.h"

#include <gtest/gtest.h>

#include <set>

namespace quillon::explorer {
namespace {

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

}  // namespace
}  // namespace quillon::explorer
