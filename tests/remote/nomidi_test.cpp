// A machine with no MIDI system (no JACK server, no ALSA sequencer here):
// the remote control is made at once, OSC works, and MIDI ends up simply off.
#include <gtest/gtest.h>
#include <lo/lo.h>
#include <unistd.h>

#include <cstdlib>

#include "remote/remotecontrol.h"
#include "remotetesting.h"

namespace quillon::remote {
namespace {

TEST(NoMidiSystem, TheStartGoesOnWithoutRemoteMidi) {
  // A JACK server of a name nobody runs.
  const std::string nobody = "quillon-nobody-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", nobody.c_str(), 1);
  test::RecordingCommands commands;
  palette::RemoteSettings settings = test::oscOnly();
  settings.midi.enabled = true;
  RemoteControl remote(commands, settings, 0);
  ASSERT_NE(remote.midi(), nullptr);
  ASSERT_NE(remote.osc(), nullptr) << remote.oscError();

  // OSC fires while MIDI is still looking, or has given up.
  lo_address to = lo_address_new("127.0.0.1", std::to_string(remote.osc()->port()).c_str());
  lo_send(to, "/quillon/fire", "s", "D");
  lo_address_free(to);
  ASSERT_TRUE(test::waitFor([&] { return !commands.log.empty(); }));
  EXPECT_EQ(commands.log, std::vector<std::string>{"fire D"});

  ASSERT_TRUE(test::waitFor([&] { return remote.midi()->state() != MidiInput::State::Opening; }));
  if (remote.midi()->state() == MidiInput::State::Open) {
    // A desktop with ALSA's sequencer: the port is there, on ALSA.
    EXPECT_EQ(remote.midi()->description(), "ALSA");
  } else {
    EXPECT_NE(remote.midi()->description().find("no MIDI system"), std::string::npos)
        << remote.midi()->description();
  }
}

TEST(NoMidiSystem, ARemoteControlEndedWhileMidiStillOpensEndsCleanly) {
  test::RecordingCommands commands;
  palette::RemoteSettings settings;  // MIDI on, OSC off
  for (int i = 0; i < 5; ++i) {
    RemoteControl remote(commands, settings);
    EXPECT_NE(remote.midi(), nullptr);
  }
  EXPECT_TRUE(commands.log.empty());
}

}  // namespace
}  // namespace quillon::remote
