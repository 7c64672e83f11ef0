// Remote firing and device return on a real JACK dummy server that the test
// starts: MIDI notes from a JACK client of the test's own reach the port
// "Quillon"; the server killed and started again gives the device back.
// Skipped, with the reason, only where jackd cannot start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "audio/manualscheduler.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/portaudio/deviceplayer.h"
#include "jackmidisender.h"
#include "realtime.h"
#include "remote/devicereturn.h"
#include "remote/remotecontrol.h"
#include "remotetesting.h"
#include "support/jackserver.h"

namespace quillon::remote {
namespace {

using namespace std::chrono_literals;
using test::waitFor;

// One server name per process, in the environment before JACK or PortAudio
// first reads it.
std::string serverName() {
  static const std::string name = [] {
    const std::string n = "quillon-remote-" + std::to_string(getpid());
    setenv("JACK_DEFAULT_SERVER", n.c_str(), 1);
    return n;
  }();
  return name;
}

class RemoteJack : public testing::Test {
 protected:
  void SetUp() override {
    server = std::make_unique<test::JackServer>(serverName());
    std::string error;
    if (!server->start(error)) {
      GTEST_SKIP() << "jackd cannot start here (" << error << "); this test needs a JACK server";
    }
  }
  std::unique_ptr<test::JackServer> server;
};

TEST_F(RemoteJack, NotesFromAJackMidiPortFireTheirLettersOncePerNote) {
  test::RecordingCommands commands;
  palette::RemoteSettings settings;  // MIDI on, OSC off: the defaults
  RemoteControl remote(commands, settings);
  ASSERT_NE(remote.midi(), nullptr);
  ASSERT_TRUE(waitFor([&] { return remote.midi()->state() != MidiInput::State::Opening; }));
  ASSERT_EQ(remote.midi()->state(), MidiInput::State::Open) << remote.midi()->description();
  EXPECT_EQ(remote.midi()->description(), "JACK");

  std::string error;
  test::JackMidiSender sender(server->name(), error);
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
  EXPECT_EQ(commands.log, (std::vector<std::string>{"fire A", "fire A", "fire Z"}));
  EXPECT_EQ(remote.midi()->presses(), 3u);
}

struct Events : audio::PlayerEvents {
  int failures = 0;
  void RequestOnLoadArray() override {}
  void EndPlay() override {}
  void Timer(audio::FrameCount, int, int) override {}
  void DeviceFailed(const std::string&) override { ++failures; }
};

int findDevice(audio::Player& player, const std::string& name) {
  for (int d = 0; d < player.DeviceCount(); ++d) {
    player.SelectDevice(d);
    if (player.DeviceName() == name && player.DeviceUsable()) return d;
  }
  return -1;
}

// Ten seconds of silence, queued at once: the test listens to the count of
// frames played, not to the sound.
void startSilence(audio::DevicePlayer& player) {
  ASSERT_TRUE(player.SetFormat({48000, 2}));
  ASSERT_EQ(player.OpenOutput(), 0) << player.lastError();
  for (int i = 0; i < 10; ++i)
    player.QueueBlock(audio::AudioBlock{std::vector<std::int16_t>(9600), 2});
}

TEST_F(RemoteJack, TheServerKilledAndStartedAgainGivesTheDeviceBackToTheCarts) {
  audio::ManualScheduler clock;
  audio::DeviceManager devices(clock, audio::DeviceManager::Options{});
  audio::DevicePlayer main(clock, devices);
  audio::DevicePlayer cart(clock, devices);  // a cart's player
  Events events;
  cart.setEventHandler(&events);
  const int system = findDevice(main, "system");
  ASSERT_GE(system, 0) << "PortAudio lists no JACK device: " << devices.lastError();
  main.SelectDevice(system);
  cart.SelectDevice(system);
  bool cartPlaying = false;
  std::vector<int> chosen;
  DeviceReturn deviceReturn(main, {[&] { return cartPlaying; },
                                   [&](int d) {
                                     main.SelectDevice(d);
                                     cart.SelectDevice(d);  // SetDevOutput does this
                                     chosen.push_back(d);
                                   }});
  startSilence(cart);
  cartPlaying = true;
  ASSERT_TRUE(test::runRealTime(clock, 3s, [&] { return cart.PlayedSamples() > 0; }));
  EXPECT_EQ(deviceReturn.check(), DeviceReturn::Step::Present);

  server->kill();
  ASSERT_TRUE(test::runRealTime(clock, 3s, [&] { return events.failures > 0; }));
  cartPlaying = false;  // the cart stops on DeviceFailed
  cart.CloseOutput();
  EXPECT_LT(cart.OpenOutput(), 0);
  EXPECT_EQ(chosen, std::vector<int>{});  // nothing chosen before a check

  // Checks while the server is down read the list (JACK's client library
  // is asked for a server that is not there) and find the device missing;
  // the carts point at no device meanwhile.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(deviceReturn.check(), DeviceReturn::Step::StillMissing);
  EXPECT_EQ(chosen, std::vector<int>(3, -1));

  // The server is back (restarted by hand or by the session): the next check
  // reads the list and takes the device back.
  std::string error;
  ASSERT_TRUE(server->start(error)) << error;
  EXPECT_EQ(deviceReturn.check(), DeviceReturn::Step::Returned) << devices.lastError();
  ASSERT_EQ(chosen.size(), 4u);
  EXPECT_GE(chosen.back(), 0);
  EXPECT_EQ(cart.DeviceName(), "system");
  startSilence(cart);
  EXPECT_TRUE(test::runRealTime(clock, 3s, [&] { return cart.PlayedSamples() > 0; }))
      << "the cart plays again on the device that came back";
  cart.CloseOutput();
}

}  // namespace
}  // namespace quillon::remote
