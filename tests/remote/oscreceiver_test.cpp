// OSC from real clients over UDP: liblo's client fires, stops and panics;
// ten thousand random and malformed packets change nothing; the listener
// keeps to the loopback address unless another is configured.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <ifaddrs.h>
#include <lo/lo.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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

// A plain UDP sender, for packets no OSC library would send.
class RawSender {
 public:
  RawSender() : m_fd(::socket(AF_INET, SOCK_DGRAM, 0)) {}
  ~RawSender() { ::close(m_fd); }
  bool send(const std::string& address, int port, const std::vector<unsigned char>& bytes) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, address.c_str(), &to.sin_addr);
    return ::sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                    sizeof to) == static_cast<ssize_t>(bytes.size());
  }

 private:
  int m_fd;
};

// An IPv4 address of this machine that is not loopback, if it has one.
std::string nonLoopbackAddress() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  std::string found;
  for (ifaddrs* i = list; i != nullptr && found.empty(); i = i->ifa_next) {
    if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET) continue;
    const auto* a = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
    if ((ntohl(a->sin_addr.s_addr) >> 24) == 127) continue;
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
    found = text;
  }
  freeifaddrs(list);
  return found;
}

TEST(OscReceiver, ALibloClientFiresStopsAndPanicsInOrder) {
  test::RecordingCommands commands;
  RemoteControl remote(commands, test::oscOnly(), 0);
  ASSERT_NE(remote.osc(), nullptr) << remote.oscError();
  EXPECT_EQ(remote.midi(), nullptr);  // switched off

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
  RawSender sender;
  std::mt19937 random(20261207);
  constexpr std::uint64_t kPackets = 10000;
  for (std::uint64_t sent = 0; sent < kPackets;) {
    // In batches, so that the socket's buffer never overflows and every
    // packet is seen.
    for (int i = 0; i < 10; ++i, ++sent)
      ASSERT_TRUE(sender.send("127.0.0.1", port, garbage(random)));
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
  ASSERT_TRUE(sender.send("127.0.0.1", port, test::oscPacket("/quillon/fire", "s", "K")));
  ASSERT_TRUE(waitFor([&] { return !commands.log.empty(); }));
  EXPECT_EQ(commands.log, std::vector<std::string>{"fire K"});
}

TEST(OscReceiver, ListensOnLoopbackOnlyUnlessAnotherAddressIsConfigured) {
  const std::string outside = nonLoopbackAddress();
  if (outside.empty()) GTEST_SKIP() << "this machine has no address but loopback";
  RawSender sender;
  {
    test::RecordingCommands commands;
    RemoteControl remote(commands, test::oscOnly(), 0);  // the default address
    ASSERT_NE(remote.osc(), nullptr) << remote.oscError();
    const int port = remote.osc()->port();
    ASSERT_TRUE(sender.send(outside, port, test::oscPacket("/quillon/fire", "s", "A")));
    ASSERT_TRUE(sender.send("127.0.0.1", port, test::oscPacket("/quillon/fire", "s", "B")));
    ASSERT_TRUE(waitFor([&] { return !commands.log.empty(); }));
    runFor(200ms);
    EXPECT_EQ(commands.log, std::vector<std::string>{"fire B"}) << "sent to " << outside;
  }
  {
    test::RecordingCommands commands;
    RemoteControl remote(commands, test::oscOnly("0.0.0.0"), 0);  // every address
    ASSERT_NE(remote.osc(), nullptr) << remote.oscError();
    ASSERT_TRUE(
        sender.send(outside, remote.osc()->port(), test::oscPacket("/quillon/fire", "s", "A")));
    EXPECT_TRUE(waitFor([&] { return !commands.log.empty(); }));
    EXPECT_EQ(commands.log, std::vector<std::string>{"fire A"});
  }
}

TEST(OscReceiver, AnAddressOrPortThatCannotBeUsedLeavesOscOffAndTheRestRunning) {
  test::RecordingCommands commands;
  RemoteControl first(commands, test::oscOnly(), 0);
  ASSERT_NE(first.osc(), nullptr);
  palette::RemoteSettings taken = test::oscOnly();
  taken.osc.port = first.osc()->port();
  RemoteControl second(commands, taken);
  EXPECT_EQ(second.osc(), nullptr);
  EXPECT_NE(second.oscError().find("cannot listen"), std::string::npos) << second.oscError();

  // A name is not looked up: only numeric addresses are listened on.
  RemoteControl named(commands, test::oscOnly("localhost"), 0);
  EXPECT_EQ(named.osc(), nullptr);
  EXPECT_FALSE(named.oscError().empty());

  palette::RemoteSettings off;  // the defaults: OSC off
  off.midi.enabled = false;
  RemoteControl none(commands, off);
  EXPECT_EQ(none.osc(), nullptr);
  EXPECT_TRUE(none.oscError().empty());
}

}  // namespace
}  // namespace quillon::remote
