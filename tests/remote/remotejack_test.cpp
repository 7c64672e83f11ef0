// Remote firing on a real JACK dummy server that the test starts: MIDI notes
// from a JACK client of the test's own reach the port "Quillon". Skipped,
// with the reason, only where jackd cannot start. (The device coming back
// after the server died is the device tests' on PortAudio, devicereturn_test's
// as a rule, and the end-to-end fault test's in the program.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "jackmidisender.h"
#include "remote/remotecontrol.h"
#include "remotetesting.h"
#include "support/jackserver.h"

namespace quillon::remote {
namespace {

using namespace std::chrono_literals;
using test::waitFor;

TEST(RemoteJack, NotesFromAJackMidiPortFireTheirLettersOncePerNote) {
  // The server's name in the environment before JACK first reads it.
  const std::string name = "quillon-remote-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", name.c_str(), 1);
  test::JackServer server(name);
  std::string error;
  if (!server.start(error)) {
    GTEST_SKIP() << "jackd cannot start here (" << error << "); this test needs a JACK server";
  }
  test::RecordingCommands commands;
  settings::RemoteSettings settings;  // MIDI on, OSC off: the defaults
  RemoteControl remote(commands, settings);
  ASSERT_NE(remote.midi(), nullptr);
  ASSERT_TRUE(waitFor([&] { return remote.midi()->state() != MidiInput::State::Opening; }));
  ASSERT_EQ(remote.midi()->state(), MidiInput::State::Open) << remote.midi()->description();
  EXPECT_EQ(remote.midi()->description(), "JACK");

  test::JackMidiSender sender(name, error);
  ASSERT_TRUE(sender.ok()) << error;
  ASSERT_TRUE(sender.connectTo("Quillon", error)) << error;
  // Which notes are presses is the mapping's own test; here the way in.
  sender.send({
      {0x90, 36, 100},  // A
      {0x80, 36, 0},    // released: nothing
      {0x90, 36, 90},   // A pressed again: a second press
      {0x90, 36, 0},    // released as velocity 0: nothing
      {0x99, 61, 1},    // Z, on channel 10, however softly
      {0xB0, 37, 127},  // a controller, not a note
  });
  ASSERT_TRUE(waitFor([&] { return sender.sent() == 6; }));
  ASSERT_TRUE(waitFor([&] { return commands.log.size() >= 3; })) << commands.log.size();
  test::runFor(300ms);
  EXPECT_EQ(commands.log, (std::vector<std::string>{"fire midi A", "fire midi A", "fire midi Z"}));
  EXPECT_EQ(remote.midi()->presses(), 3u);
}

}  // namespace
}  // namespace quillon::remote
