#include "app/letterpresses.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

// A key pressed and released at `time`, as a quick tap is.
void tap(LetterPresses& presses, char letter, std::uint64_t time) {
  presses.press(letter, time);
  presses.release(letter, time + 80);
}

TEST(LetterPresses, TheLatestLetterInTheAlphabetWinsAndEachPollStartsAfresh) {
  LetterPresses presses;
  EXPECT_EQ(presses.takeLetter(), "");
  tap(presses, 'M', 1000);
  tap(presses, 'c', 1100);  // lower case counts as upper case
  EXPECT_EQ(presses.takeLetter(), "M");
  EXPECT_EQ(presses.takeLetter(), "");  // a press counts once
  tap(presses, 'z', 1300);
  tap(presses, 'A', 1400);
  EXPECT_EQ(presses.takeLetter(), "Z");
}

TEST(LetterPresses, OnlyLettersCountAndClearForgetsPressesButNotTheNextOne) {
  LetterPresses presses;
  for (char c : {'1', ' ', '@', '[', '`', '{'}) tap(presses, c, 1000);
  EXPECT_EQ(presses.takeLetter(), "");
  presses.press('Q', 2000);
  presses.clear();
  EXPECT_EQ(presses.takeLetter(), "");
  // A key held when the window lost the keyboard (its release went to
  // another window) counts at its next press.
  presses.press('K', 3000);
  EXPECT_EQ(presses.takeLetter(), "K");
  presses.clear();
  presses.press('K', 5000);
  EXPECT_EQ(presses.takeLetter(), "K");
}

// The keyboard's repeats of a held key, in both forms X sends them, never
// count; a new press after a real release does.
TEST(LetterPresses, AHeldKeyCountsOnceWhateverFormItsRepeatsTake) {
  LetterPresses presses;
  presses.press('F', 1000);
  EXPECT_EQ(presses.takeLetter(), "F");
  // Detectable auto-repeat: presses with no release between them.
  for (std::uint64_t t = 1660; t < 2500; t += 40) presses.press('f', t);
  EXPECT_EQ(presses.takeLetter(), "");
  // Plain auto-repeat: a release and a press at the same instant.
  for (std::uint64_t t = 2500; t < 3500; t += 40) {
    presses.release('F', t);
    presses.press('F', t);
  }
  EXPECT_EQ(presses.takeLetter(), "");
  presses.release('F', 3600);
  presses.press('F', 3700);  // a new press
  EXPECT_EQ(presses.takeLetter(), "F");
}

}  // namespace
}  // namespace quillon::app
