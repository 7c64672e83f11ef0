// The letter keys pressed since the keyboard poll last looked, in the order
// pressed, each with the modifiers held: each physical press counts once
// (auto-repeat does not), upper and lower case alike. UI thread.
//
// The windowing system does not always flag the keyboard's repeats: X sends
// a held key's repeats as a release and a press at the same instant, or (with
// detectable auto-repeat) as presses with no release between them, and Qt
// marks neither as a repeat when it cannot see the pair. So a press counts
// only when its key is up, and a press at the very instant of its key's
// release is a repeat.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

#include "common/cartset.h"

namespace quillon::app {

// Modifier keys held with a press, as bits.
enum KeyModifier : unsigned {
  kShiftKey = 1u << 0,
  kControlKey = 1u << 1,
  kAltKey = 1u << 2,
  kMetaKey = 1u << 3,
};
using KeyModifiers = unsigned;

struct LetterPress {
  char letter = 'A';  // 'A'..'Z'
  KeyModifiers modifiers = 0;
  // A letter fires its cart alone or with Shift; with Control, Alt or Meta
  // it belongs to a shortcut (Ctrl+letter is kept for pre-listening).
  bool firesCart() const { return (modifiers & (kControlKey | kAltKey | kMetaKey)) == 0; }
  // Ctrl with the letter (Shift allowed) toggles the cart's pre-listen.
  bool preListens() const {
    return (modifiers & (kControlKey | kAltKey | kMetaKey)) == kControlKey;
  }
  bool operator==(const LetterPress&) const = default;
};

// The capital letter of `c` ('a'..'z' or 'A'..'Z'); nothing for anything else.
std::optional<char> capitalLetter(char c);

// The letter of a key for the carts, as the key's place on the keyboard
// gives it whatever the layout:
// - `layoutLetter`: the layout's own letter when it is a Latin one, which
//   decides (AZERTY's A key gives A);
// - `otherScriptLetter`: the layout gives the key a letter of another script
//   (Cyrillic, Greek...); then the Latin letter the keyboard map gives the
//   same key in another group (`mappedLatin`, e.g. the Latin group beside a
//   Cyrillic one), else the letter at that place on a US keyboard, from the
//   key's X keycode (the Linux input code + 8), as a virtual key would be.
// Nothing for any other key: a Latin layout's punctuation stays punctuation.
std::optional<char> letterOfKey(std::optional<char> layoutLetter, bool otherScriptLetter,
                                std::optional<char> mappedLatin, std::uint32_t xKeycode);

class LetterPresses {
 public:
  // At most this many presses wait for one poll; more in 100 ms are no typing
  // an operator does, and are dropped rather than kept without bound.
  static constexpr std::size_t kMaxWaiting = 64;

  // A key press of `letter` ('a'..'z' or 'A'..'Z') at `time` (the event's
  // timestamp, in ms); anything else is ignored. True when the press counts
  // (a new press, not a repeat): it is then recorded for the next poll
  // unless `record` is false (the press was handled at once).
  bool press(char letter, KeyModifiers modifiers, std::uint64_t time, bool record = true);
  // The key went up at `time`: its next press counts again.
  void release(char letter, std::uint64_t time);
  // Every press since the last call, in the order pressed; the record is
  // then empty.
  std::vector<LetterPress> takePresses();
  // Forgets every press and every key held (the window lost the keyboard,
  // so the keys' releases go elsewhere).
  void clear();

 private:
  static constexpr std::uint64_t kNever = UINT64_MAX;
  std::vector<LetterPress> m_pressed;
  std::bitset<kCartCount> m_down;
  std::array<std::uint64_t, kCartCount> m_releasedAt = filled();
  static std::array<std::uint64_t, kCartCount> filled() {
    std::array<std::uint64_t, kCartCount> a{};
    a.fill(kNever);
    return a;
  }
};

}  // namespace quillon::app
