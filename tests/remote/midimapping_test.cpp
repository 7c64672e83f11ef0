// MIDI messages to letters: the default mapping C1..C#3, another first note,
// one channel, and the messages that press nothing.
#include "remote/midimapping.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillon::remote {
namespace {

std::optional<char> letter(const MidiMapping& m, std::vector<unsigned char> bytes) {
  return m.letterOf(bytes.data(), bytes.size());
}

TEST(MidiMapping, NotesThirtySixToSixtyOneAreAToZOnEveryChannel) {
  const MidiMapping m;
  EXPECT_EQ(letter(m, {0x90, 36, 100}), 'A');
  EXPECT_EQ(letter(m, {0x90, 37, 1}), 'B');
  EXPECT_EQ(letter(m, {0x9F, 61, 127}), 'Z');  // channel 16
  EXPECT_EQ(letter(m, {0x95, 48, 64}), 'M');   // 48 - 36 = 12: M
  EXPECT_EQ(letter(m, {0x90, 35, 100}), std::nullopt);
  EXPECT_EQ(letter(m, {0x90, 62, 100}), std::nullopt);
}

TEST(MidiMapping, OnlyANoteOnWithVelocityPresses) {
  const MidiMapping m;
  EXPECT_EQ(letter(m, {0x90, 36, 0}), std::nullopt);    // the usual note-off
  EXPECT_EQ(letter(m, {0x80, 36, 64}), std::nullopt);   // note-off
  EXPECT_EQ(letter(m, {0xA0, 36, 64}), std::nullopt);   // aftertouch
  EXPECT_EQ(letter(m, {0xB0, 36, 127}), std::nullopt);  // control change
  EXPECT_EQ(letter(m, {0xC0, 36}), std::nullopt);       // program change
  EXPECT_EQ(letter(m, {0x90, 36}), std::nullopt);       // cut short
  EXPECT_EQ(letter(m, {0x90, 36, 100, 0}), std::nullopt);
  EXPECT_EQ(letter(m, {0x90, 0x80, 100}), std::nullopt);  // a status byte as note
  EXPECT_EQ(letter(m, {}), std::nullopt);
  EXPECT_EQ(m.letterOf(nullptr, 3), std::nullopt);
}

TEST(MidiMapping, AnotherFirstNoteAndOneChannel) {
  const MidiMapping m(60, 10);
  EXPECT_EQ(letter(m, {0x99, 60, 90}), 'A');  // 0x99: channel 10
  EXPECT_EQ(letter(m, {0x99, 85, 90}), 'Z');
  EXPECT_EQ(letter(m, {0x90, 60, 90}), std::nullopt);  // channel 1
  EXPECT_EQ(letter(m, {0x99, 59, 90}), std::nullopt);
}

TEST(MidiMapping, SettingsOutOfRangeFallBackToTheDefault) {
  // A first note above 102 would push Z past 127.
  EXPECT_EQ(MidiMapping(103, 0).firstNote(), 36);
  EXPECT_EQ(MidiMapping(-1, 0).firstNote(), 36);
  EXPECT_EQ(MidiMapping(102, 0).firstNote(), 102);
  EXPECT_EQ(MidiMapping(36, 17).channel(), 0);
}

}  // namespace
}  // namespace quillon::remote
