#include "app/toolbarcommands.h"

#include <gtest/gtest.h>

#include <string>

namespace quillon::app {
namespace {

TEST(Toolbar, FiveCommandsAtTheOddPositionsAndAClickRunsItsOwnOnly) {
  const std::pair<int, ToolbarCommand> expected[] = {
      {-1, ToolbarCommand::None}, {0, ToolbarCommand::None},  {1, ToolbarCommand::Quit},
      {2, ToolbarCommand::None},  {3, ToolbarCommand::New},   {4, ToolbarCommand::None},
      {5, ToolbarCommand::Open},  {6, ToolbarCommand::None},  {7, ToolbarCommand::Save},
      {8, ToolbarCommand::None},  {9, ToolbarCommand::About}, {10, ToolbarCommand::None}};
  std::string ran;
  ToolbarHandlers handlers;
  handlers[static_cast<std::size_t>(ToolbarCommand::Quit)] = [&] { ran += "Quit;"; };
  handlers[static_cast<std::size_t>(ToolbarCommand::New)] = [&] { ran += "New;"; };
  handlers[static_cast<std::size_t>(ToolbarCommand::About)] = [&] { ran += "About;"; };
  for (const auto& [position, command] : expected) {
    EXPECT_EQ(commandAtPosition(position), command) << position;
    dispatchToolbarClick(position, handlers);
  }
  EXPECT_EQ(ran, "Quit;New;About;");  // Open and Save have no handler here: nothing
}

}  // namespace
}  // namespace quillon::app
