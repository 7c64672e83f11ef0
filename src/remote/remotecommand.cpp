#include "remote/remotecommand.h"

namespace quillon::remote {

void carryOut(const RemoteCommand& command, RemoteCommands& commands) {
  const bool hasLetter = command.letter >= 'A' && command.letter <= 'Z';
  switch (command.action) {
    case RemoteAction::Fire:
      if (hasLetter) commands.fire(std::string(1, command.letter), command.source);
      break;
    case RemoteAction::Stop:
      if (hasLetter) commands.stop(std::string(1, command.letter));
      break;
    case RemoteAction::Panic:
      commands.panic();
      break;
  }
}

}  // namespace quillon::remote
