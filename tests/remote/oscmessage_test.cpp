// OSC packets: our three messages, in the forms a client sends them, and
// everything else sorted as ignored. Packets cut short or oversized are
// left to the receiver's random-packet test.
#include "remote/oscmessage.h"

#include <gtest/gtest.h>

#include "oscpackets.h"

namespace quillon::remote {
namespace {

using test::oscPacket;

OscReading read(const std::vector<unsigned char>& packet) {
  return readOscPacket(packet.data(), packet.size());
}

struct Understood {
  const char* path;
  const char* types;
  const char* text;
  RemoteAction action;
  char letter;
};

class OscUnderstood : public testing::TestWithParam<Understood> {};

TEST_P(OscUnderstood, BecomesItsCommand) {
  const Understood& c = GetParam();
  const OscReading r = read(oscPacket(c.path, c.types, c.text));
  ASSERT_EQ(r.outcome, OscOutcome::Command);
  EXPECT_EQ(r.command.action, c.action);
  EXPECT_EQ(r.command.letter, c.letter);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, OscUnderstood,
    testing::Values(Understood{"/quillon/fire", "s", "A", RemoteAction::Fire, 'A'},
                    // Lower case counts as upper case, as on the keyboard.
                    Understood{"/quillon/fire", "s", "c", RemoteAction::Fire, 'C'},
                    Understood{"/quillon/stop", "s", "M", RemoteAction::Stop, 'M'},
                    Understood{"/quillon/panic", "", "", RemoteAction::Panic, 0}));

struct Ignored {
  const char* name;
  std::vector<unsigned char> packet;
  OscOutcome outcome;
};

class OscIgnored : public testing::TestWithParam<Ignored> {};

TEST_P(OscIgnored, IsSortedAndNeverACommand) {
  EXPECT_EQ(read(GetParam().packet).outcome, GetParam().outcome);
}

std::vector<unsigned char> withTypes(std::vector<unsigned char> p, const char* from,
                                     const char* to) {
  const std::string bytes(p.begin(), p.end());
  const std::size_t at = bytes.find(from);
  for (std::size_t i = 0; to[i] != 0; ++i) p[at + i] = static_cast<unsigned char>(to[i]);
  return p;
}

INSTANTIATE_TEST_SUITE_P(
    Packets, OscIgnored,
    testing::Values(
        Ignored{"OtherPath", oscPacket("/quillon/play", "s", "A"), OscOutcome::Unknown},
        Ignored{"PrefixOnly", oscPacket("/quillon", "s", "A"), OscOutcome::Unknown},
        Ignored{"CaseOfPath", oscPacket("/Quillon/fire", "s", "A"), OscOutcome::Unknown},
        Ignored{"FireWithoutLetter", oscPacket("/quillon/fire", ""), OscOutcome::Malformed},
        Ignored{"FireWithFloat", oscPacket("/quillon/fire", "f"), OscOutcome::Malformed},
        Ignored{"FireWithTwoLetters", oscPacket("/quillon/fire", "s", "AB"), OscOutcome::Malformed},
        Ignored{"FireWithEmptyText", oscPacket("/quillon/fire", "s", ""), OscOutcome::Malformed},
        Ignored{"FireWithDigit", oscPacket("/quillon/fire", "s", "1"), OscOutcome::Malformed},
        Ignored{"FireWithAccent", oscPacket("/quillon/fire", "s", "\xc3\x89"),
                OscOutcome::Malformed},
        Ignored{"StopWithTwoArguments", oscPacket("/quillon/stop", "ss", "A"),
                OscOutcome::Malformed},
        Ignored{"PanicWithArgument", oscPacket("/quillon/panic", "i"), OscOutcome::Malformed},
        Ignored{"Empty", {}, OscOutcome::Malformed},
        // The type tag says a string where the bytes have no terminator.
        Ignored{"TypeTagLies", withTypes(oscPacket("/quillon/fire", "i"), ",i", ",s"),
                OscOutcome::Malformed},
        Ignored{"Bundle", oscPacket("#bundle", ""), OscOutcome::Unknown}),
    [](const testing::TestParamInfo<Ignored>& info) { return info.param.name; });

TEST(OscPacket, TheLargestAcceptedSizeIsStillRead) {
  // A long but valid packet just under the limit is parsed, not refused.
  const auto p = oscPacket("/quillon/" + std::string(480, 'x'), "s", "A");
  ASSERT_LE(p.size(), kMaxOscPacket);
  EXPECT_EQ(read(p).outcome, OscOutcome::Unknown);
}

}  // namespace
}  // namespace quillon::remote
