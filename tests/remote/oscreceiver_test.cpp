// OSC from real clients over UDP: liblo's client fires, stops and panics on
// a machine with no MIDI system; ten thousand random and malformed packets
// change nothing; the listener keeps to the loopback address unless another
// is configured.
#include <gtest/gtest.h>
#include <lo/lo.h>
#include <unistd.h>

#include <QHostAddress>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <algorithm>
#include <cstdlib>
#include <random>

#include "oscpackets.h"
#include "remote/oscmessage.h"
#include "remote/remotecontrol.h"
#include "remotetesting.h"

namespace quillon::remote {
namespace {

using namespace std::chrono_literals;
using test::runFor;
using test::waitFor;

// Sends bytes no OSC library would send.
bool sendRaw(const QString& address, int port, const std::vector<unsigned char>& bytes) {
  QUdpSocket socket;
  const auto size = static_cast<qint64>(bytes.size());
  return socket.writeDatagram(reinterpret_cast<const char*>(bytes.data()), size,
                              QHostAddress(address), static_cast<quint16>(port)) == size;
}

// No JACK server, no ALSA sequencer here: the remote control is made at
// once, OSC works while MIDI looks, and MIDI ends up simply off.
TEST(OscReceiver, ALibloClientFiresStopsAndPanicsInOrderWithNoMidiSystem) {
  const std::string nobody = "quillon-nobody-" + std::to_string(getpid());
  setenv("JACK_DEFAULT_SERVER", nobody.c_str(), 1);  // a JACK server of a name nobody runs
  test::RecordingCommands commands;
  settings::RemoteSettings settings = test::oscOnly();
  settings.midi.enabled = true;
  RemoteControl remote(commands, settings, 0);
  ASSERT_NE(remote.midi(), nullptr);
  ASSERT_NE(remote.osc(), nullptr) << remote.oscError();

  lo_address to = lo_address_new("127.0.0.1", std::to_string(remote.osc()->port()).c_str());
  lo_send(to, "/quillon/fire", "s", "A");
  lo_send(to, "/quillon/fire", "s", "q");
  lo_send(to, "/quillon/stop", "s", "B");
  lo_send(to, "/quillon/panic", "");
  lo_address_free(to);
  ASSERT_TRUE(waitFor([&] { return commands.log.size() >= 4; }));
  runFor(100ms);  // nothing more comes
  EXPECT_EQ(commands.log, (std::vector<std::string>{"fire A", "fire Q", "stop B", "panic"}));
  EXPECT_EQ(remote.osc()->counts().commands, 4u);

  ASSERT_TRUE(waitFor([&] { return remote.midi()->state() != MidiInput::State::Opening; }));
  if (remote.midi()->state() == MidiInput::State::Open) {
    EXPECT_EQ(remote.midi()->description(), "ALSA");  // a desktop with ALSA's sequencer
  } else {
    EXPECT_NE(remote.midi()->description().find("no MIDI system"), std::string::npos)
        << remote.midi()->description();
  }
}

TEST(OscReceiver, ARemoteControlEndedWhileMidiStillOpensEndsCleanly) {
  test::RecordingCommands commands;
  settings::RemoteSettings settings;  // MIDI on, OSC off
  for (int i = 0; i < 5; ++i) {
    RemoteControl remote(commands, settings);
    EXPECT_NE(remote.midi(), nullptr);
  }
  EXPECT_TRUE(commands.log.empty());
}

// Packets that must never become a command: random bytes, our messages cut
// short, with their path or type tag damaged, or far too long.
std::vector<unsigned char> garbage(std::mt19937& random) {
  auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const char* paths[] = {"/quillon/fire", "/quillon/stop"};
  std::vector<unsigned char> p =
      test::oscPacket(paths[below(2)], "s", std::string(1, 'A' + below(26)));
  switch (below(5)) {
    case 0: {  // random bytes
      p.resize(static_cast<std::size_t>(below(700)));
      for (auto& b : p) b = static_cast<unsigned char>(random());
      break;
    }
    case 1:  // cut short
      p.resize(static_cast<std::size_t>(below(static_cast<int>(p.size()))));
      break;
    case 2: {  // one byte of the path changed to another non-zero byte
      const std::size_t at = 1 + static_cast<std::size_t>(below(12));
      p[at] = static_cast<unsigned char>(p[at] ^ (1 + below(255)));
      break;
    }
    case 3: {  // the type tag says something else than one string
      const char types[] = "ifbhtdScrmTFNI[]";
      p[17] = static_cast<unsigned char>(types[below(sizeof types - 1)]);
      break;
    }
    default:  // a valid start, then far past the largest packet looked at
      p.resize(kMaxOscPacket + 1 + static_cast<std::size_t>(below(1000)), 0);
      break;
  }
  return p;
}

TEST(OscReceiver, TenThousandRandomAndMalformedPacketsChangeNothing) {
  test::RecordingCommands commands;
  RemoteControl remote(commands, test::oscOnly(), 0);
  ASSERT_NE(remote.osc(), nullptr) << remote.oscError();
  const int port = remote.osc()->port();
  std::mt19937 random(20261207);
  constexpr std::uint64_t kPackets = 10000;
  for (std::uint64_t sent = 0; sent < kPackets;) {
    // In batches, so that the socket's buffer never overflows and every
    // packet is seen.
    for (int i = 0; i < 10; ++i, ++sent) ASSERT_TRUE(sendRaw("127.0.0.1", port, garbage(random)));
    ASSERT_TRUE(waitFor([&] { return remote.osc()->counts().packets == sent; }))
        << remote.osc()->counts().packets << " of " << sent;
  }
  runFor(50ms);
  const OscReceiver::Counts c = remote.osc()->counts();
  EXPECT_TRUE(commands.log.empty()) << commands.log.front();
  EXPECT_EQ(c.commands, 0u);
  EXPECT_EQ(c.oversized + c.malformed + c.unknown, kPackets);
  EXPECT_GT(c.oversized, 0u);
  EXPECT_GT(c.malformed, 0u);
  EXPECT_GT(c.unknown, 0u);

  // And it still listens.
  ASSERT_TRUE(sendRaw("127.0.0.1", port, test::oscPacket("/quillon/fire", "s", "K")));
  ASSERT_TRUE(waitFor([&] { return !commands.log.empty(); }));
  EXPECT_EQ(commands.log, std::vector<std::string>{"fire K"});
}

TEST(OscReceiver, ListensOnLoopbackOnlyUnlessAnotherAddressIsConfigured) {
  QString outside;  // an IPv4 address of this machine that is not loopback
  for (const QHostAddress& a : QNetworkInterface::allAddresses()) {
    if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) outside = a.toString();
  }
  if (outside.isEmpty()) GTEST_SKIP() << "this machine has no address but loopback";
  const struct {
    const char* address;
    std::vector<std::string> heard;
  } cases[] = {{"127.0.0.1", {"fire B"}}, {"0.0.0.0", {"fire A", "fire B"}}};  // default, every
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    test::RecordingCommands commands;
    RemoteControl remote(commands, test::oscOnly(c.address), 0);
    ASSERT_NE(remote.osc(), nullptr) << remote.oscError();
    const int port = remote.osc()->port();
    ASSERT_TRUE(sendRaw(outside, port, test::oscPacket("/quillon/fire", "s", "A")));
    ASSERT_TRUE(sendRaw("127.0.0.1", port, test::oscPacket("/quillon/fire", "s", "B")));
    ASSERT_TRUE(waitFor([&] { return std::ranges::count(commands.log, "fire B") > 0; }));
    runFor(200ms);
    std::ranges::sort(commands.log);
    EXPECT_EQ(commands.log, c.heard) << "sent to " << outside.toStdString();
  }
}

TEST(OscReceiver, AnAddressOrPortThatCannotBeUsedLeavesOscOffAndTheRestRunning) {
  test::RecordingCommands commands;
  RemoteControl first(commands, test::oscOnly(), 0);
  ASSERT_NE(first.osc(), nullptr);
  settings::RemoteSettings taken = test::oscOnly();
  taken.osc.port = first.osc()->port();
  RemoteControl second(commands, taken);
  EXPECT_EQ(second.osc(), nullptr);
  EXPECT_NE(second.oscError().find("cannot listen"), std::string::npos) << second.oscError();

  // A name is not looked up: only numeric addresses are listened on.
  RemoteControl named(commands, test::oscOnly("localhost"), 0);
  EXPECT_EQ(named.osc(), nullptr);
  EXPECT_FALSE(named.oscError().empty());

  settings::RemoteSettings off;  // the defaults: OSC off
  off.midi.enabled = false;
  RemoteControl none(commands, off);
  EXPECT_EQ(none.osc(), nullptr);
  EXPECT_TRUE(none.oscError().empty());
}

}  // namespace
}  // namespace quillon::remote
