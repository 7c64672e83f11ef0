// The letter keys pressed since the keyboard poll last looked: each physical
// press counts once (auto-repeat does not), upper and lower case alike, and
// the latest letter in the alphabet wins within one poll. UI thread.
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
#include <string>

namespace quillon::app {

class LetterPresses {
 public:
  // A key press of `letter` ('a'..'z' or 'A'..'Z') at `time` (the event's
  // timestamp, in ms); anything else is ignored.
  void press(char letter, std::uint64_t time);
  // The key went up at `time`: its next press counts again.
  void release(char letter, std::uint64_t time);
  // The latest letter in the alphabet pressed since the last call, as a
  // one-character capital string, or "" for none; the record is then empty.
  std::string takeLetter();
  // Forgets every press and every key held (the window lost the keyboard,
  // so the keys' releases go elsewhere).
  void clear() {
    m_pressed.reset();
    m_down.reset();
    m_releasedAt.fill(kNever);
  }

 private:
  static constexpr std::uint64_t kNever = UINT64_MAX;
  std::bitset<26> m_pressed;
  std::bitset<26> m_down;
  std::array<std::uint64_t, 26> m_releasedAt = filled();
  static std::array<std::uint64_t, 26> filled() {
    std::array<std::uint64_t, 26> a{};
    a.fill(kNever);
    return a;
  }
};

}  // namespace quillon::app
