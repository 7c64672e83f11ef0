#include "app/toolbarcommands.h"

namespace quillon::app {

ToolbarCommand commandAtPosition(int position) {
  for (const ToolbarButton& button : kToolbarButtons) {
    if (button.position == position) return button.command;
  }
  return ToolbarCommand::None;
}

void dispatchToolbarClick(int position, const ToolbarHandlers& handlers) {
  const ToolbarCommand command = commandAtPosition(position);
  if (command == ToolbarCommand::None) return;
  const auto& handler = handlers[static_cast<std::size_t>(command)];
  if (handler) handler();
}

}  // namespace quillon::app
