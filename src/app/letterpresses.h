// The letter keys pressed since the keyboard poll last looked: each physical
// press counts once (auto-repeat does not), upper and lower case alike, and
// the latest letter in the alphabet wins within one poll. UI thread.
#pragma once

#include <bitset>
#include <string>

namespace quillon::app {

class LetterPresses {
 public:
  // A key press of `letter` ('a'..'z' or 'A'..'Z'); anything else is ignored.
  void press(char letter);
  // The latest letter in the alphabet pressed since the last call, as a
  // one-character capital string, or "" for none; the record is then empty.
  std::string takeLetter();
  // Forgets every press (the window lost the keyboard).
  void clear() { m_pressed.reset(); }

 private:
  std::bitset<26> m_pressed;
};

}  // namespace quillon::app
