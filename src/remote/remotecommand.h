// A command from a remote control (a MIDI controller, an OSC client), as it
// travels from the thread that received it to the UI thread, and what the
// program does with it there. RemoteCommand is plain data, copied through a
// lock-free queue; RemoteCommands is carried out on the UI thread only.
#pragma once

#include <cstdint>
#include <string>

namespace quillon::remote {

enum class RemoteAction : std::uint8_t {
  Fire,   // a press of the letter: every cart receives it, as from the keyboard
  Stop,   // stop the cart of the letter if it plays
  Panic,  // stop every cart
};

// Where a command came from, for the as-run log.
enum class RemoteSource : std::uint8_t { Midi, Osc };

struct RemoteCommand {
  RemoteAction action = RemoteAction::Fire;
  char letter = 0;  // 'A'..'Z'; 0 for Panic
  RemoteSource source = RemoteSource::Osc;
};

// What the program does for a remote command. UI thread.
class RemoteCommands {
 public:
  virtual ~RemoteCommands() = default;
  // `letter` is one capital letter "A".."Z".
  virtual void fire(const std::string& letter, RemoteSource source) = 0;
  virtual void stop(const std::string& letter) = 0;
  virtual void panic() = 0;
};

// Hands `command` to the matching operation of `commands`. UI thread.
void carryOut(const RemoteCommand& command, RemoteCommands& commands);

}  // namespace quillon::remote
