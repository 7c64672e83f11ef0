// What the remote controls receive, read as commands: MIDI notes to letters
// (C1..C#3 by default, another first note, one channel) and OSC packets
// (our three messages, and everything else sorted as ignored). Packets cut
// short or oversized are left to the receiver's random-packet test.
#include <gtest/gtest.h>

#include <optional>

#include "oscpackets.h"
#include "remote/midimapping.h"
#include "remote/oscmessage.h"

namespace quillon::remote {
namespace {

TEST(MidiMapping, NoteOnsOfTheTwentySixNotesAreTheLettersAndNothingElseIs) {
  const struct {
    const char* what;
    int firstNote, channel;
    std::vector<unsigned char> bytes;
    std::optional<char> letter;
  } cases[] = {
      {"36 is A", 36, 0, {0x90, 36, 100}, 'A'},
      {"37 is B, however softly", 36, 0, {0x90, 37, 1}, 'B'},
      {"48 is M, on channel 6", 36, 0, {0x95, 48, 64}, 'M'},
      {"61 is Z, on channel 16", 36, 0, {0x9F, 61, 127}, 'Z'},
      {"below the range", 36, 0, {0x90, 35, 100}, std::nullopt},
      {"above it", 36, 0, {0x90, 62, 100}, std::nullopt},
      {"velocity 0, the usual note-off", 36, 0, {0x90, 36, 0}, std::nullopt},
      {"note-off", 36, 0, {0x80, 36, 64}, std::nullopt},
      {"a controller, not a note", 36, 0, {0xB0, 36, 127}, std::nullopt},
      {"cut short", 36, 0, {0x90, 36}, std::nullopt},
      {"too long", 36, 0, {0x90, 36, 100, 0}, std::nullopt},
      {"a status byte as note", 36, 0, {0x90, 0x80, 100}, std::nullopt},
      {"nothing", 36, 0, {}, std::nullopt},
      {"first note 60 on channel 10: A", 60, 10, {0x99, 60, 90}, 'A'},
      {"first note 60 on channel 10: Z", 60, 10, {0x99, 85, 90}, 'Z'},
      {"channel 1 where 10 is set", 60, 10, {0x90, 60, 90}, std::nullopt},
      {"below 60", 60, 10, {0x99, 59, 90}, std::nullopt},
      {"first note 102: Z on 127", 102, 0, {0x90, 127, 90}, 'Z'},
      // Out of range (Z past 127, a negative note, channel 17): the default.
      {"first note 103", 103, 0, {0x90, 36, 90}, 'A'},
      {"first note -1", -1, 0, {0x90, 36, 90}, 'A'},
      {"channel 17", 36, 17, {0x93, 36, 90}, 'A'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(MidiMapping(c.firstNote, c.channel).letterOf(c.bytes.data(), c.bytes.size()),
              c.letter);
  }
  EXPECT_EQ(MidiMapping().letterOf(nullptr, 3), std::nullopt);
}

TEST(OscMessage, OurThreeMessagesAreCommandsAndEverythingElseIsSorted) {
  using test::oscPacket;
  auto typesSaid = [](std::vector<unsigned char> p, const char* from, const char* to) {
    const std::size_t at = std::string(p.begin(), p.end()).find(from);
    for (std::size_t i = 0; to[i] != 0; ++i) p[at + i] = static_cast<unsigned char>(to[i]);
    return p;
  };
  const struct {
    const char* what;
    std::vector<unsigned char> packet;
    OscOutcome outcome;
    RemoteAction action = RemoteAction::Fire;
    char letter = 0;
  } cases[] = {
      {"fire A", oscPacket("/quillon/fire", "s", "A"), OscOutcome::Command, RemoteAction::Fire,
       'A'},
      {"lower case, as on the keyboard", oscPacket("/quillon/fire", "s", "c"), OscOutcome::Command,
       RemoteAction::Fire, 'C'},
      {"stop M", oscPacket("/quillon/stop", "s", "M"), OscOutcome::Command, RemoteAction::Stop,
       'M'},
      {"panic", oscPacket("/quillon/panic", ""), OscOutcome::Command, RemoteAction::Panic, 0},
      {"another path", oscPacket("/quillon/play", "s", "A"), OscOutcome::Unknown},
      {"the prefix alone", oscPacket("/quillon", "s", "A"), OscOutcome::Unknown},
      {"the path's case", oscPacket("/Quillon/fire", "s", "A"), OscOutcome::Unknown},
      {"a bundle", oscPacket("#bundle", ""), OscOutcome::Unknown},
      {"a long path just under the size limit",
       oscPacket("/quillon/" + std::string(480, 'x'), "s", "A"), OscOutcome::Unknown},
      {"fire without a letter", oscPacket("/quillon/fire", ""), OscOutcome::Malformed},
      {"fire with a float", oscPacket("/quillon/fire", "f"), OscOutcome::Malformed},
      {"fire with two letters", oscPacket("/quillon/fire", "s", "AB"), OscOutcome::Malformed},
      {"fire with empty text", oscPacket("/quillon/fire", "s", ""), OscOutcome::Malformed},
      {"fire with a digit", oscPacket("/quillon/fire", "s", "1"), OscOutcome::Malformed},
      {"fire with an accent", oscPacket("/quillon/fire", "s", "\xc3\x89"), OscOutcome::Malformed},
      {"stop with two arguments", oscPacket("/quillon/stop", "ss", "A"), OscOutcome::Malformed},
      {"panic with an argument", oscPacket("/quillon/panic", "i"), OscOutcome::Malformed},
      {"empty", {}, OscOutcome::Malformed},
      // The type tag says a string where the bytes have no terminator.
      {"a lying type tag", typesSaid(oscPacket("/quillon/fire", "i"), ",i", ",s"),
       OscOutcome::Malformed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const OscReading r = readOscPacket(c.packet.data(), c.packet.size());
    ASSERT_EQ(r.outcome, c.outcome);
    if (c.outcome != OscOutcome::Command) continue;
    EXPECT_EQ(r.command.action, c.action);
    EXPECT_EQ(r.command.letter, c.letter);
  }
}

}  // namespace
}  // namespace quillon::remote
