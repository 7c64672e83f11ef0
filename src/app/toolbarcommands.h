// The toolbar's buttons by position, numbered from 1, and the dispatch of a
// click on its position alone. Positions between the commands are
// separators and do nothing. UI thread.
#pragma once

#include <array>
#include <functional>

namespace quillon::app {

enum class ToolbarCommand { None, Quit, New, Open, Save, About };
inline constexpr int kToolbarCommandCount = static_cast<int>(ToolbarCommand::About) + 1;

struct ToolbarButton {
  int position;
  const char* text;  // empty for a separator
  ToolbarCommand command;
};

inline constexpr std::array<ToolbarButton, 9> kToolbarButtons = {{
    {1, "Quit", ToolbarCommand::Quit},
    {2, "", ToolbarCommand::None},
    {3, "New", ToolbarCommand::New},
    {4, "", ToolbarCommand::None},
    {5, "Open", ToolbarCommand::Open},
    {6, "", ToolbarCommand::None},
    {7, "Save", ToolbarCommand::Save},
    {8, "", ToolbarCommand::None},
    {9, "About", ToolbarCommand::About},
}};

ToolbarCommand commandAtPosition(int position);

// What each command does, indexed by ToolbarCommand; an empty entry does nothing.
using ToolbarHandlers = std::array<std::function<void()>, kToolbarCommandCount>;

void dispatchToolbarClick(int position, const ToolbarHandlers& handlers);

}  // namespace quillon::app
