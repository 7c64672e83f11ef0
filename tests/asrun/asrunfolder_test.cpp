#include "asrun/asrunfolder.h"

#include <gtest/gtest.h>

namespace quillon::asrun {
namespace {

TEST(AsRunFolder, FollowsTheXdgRule) {
  EXPECT_EQ(defaultAsRunFolder(nullptr, "/home/anne"), "/home/anne/.local/share/quillon/as-run");
  EXPECT_EQ(defaultAsRunFolder("/data/anne", "/home/anne"), "/data/anne/quillon/as-run");
  // Empty or relative XDG_DATA_HOME is ignored.
  EXPECT_EQ(defaultAsRunFolder("", "/home/anne"), "/home/anne/.local/share/quillon/as-run");
  EXPECT_EQ(defaultAsRunFolder("data", "/home/anne"), "/home/anne/.local/share/quillon/as-run");
  // Nowhere to write: the caller is told by an empty path, never the
  // current folder.
  EXPECT_EQ(defaultAsRunFolder(nullptr, nullptr), "");
  EXPECT_EQ(defaultAsRunFolder(nullptr, ""), "");
}

}  // namespace
}  // namespace quillon::asrun
