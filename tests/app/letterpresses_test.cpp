#include "app/letterpresses.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

TEST(LetterPresses, TheLatestLetterInTheAlphabetWinsAndEachPollStartsAfresh) {
  LetterPresses presses;
  EXPECT_EQ(presses.takeLetter(), "");
  presses.press('M');
  presses.press('c');  // lower case counts as upper case
  EXPECT_EQ(presses.takeLetter(), "M");
  EXPECT_EQ(presses.takeLetter(), "");  // a press counts once
  presses.press('z');
  presses.press('A');
  EXPECT_EQ(presses.takeLetter(), "Z");
}

TEST(LetterPresses, OnlyLettersCountAndClearForgetsThem) {
  LetterPresses presses;
  for (char c : {'1', ' ', '@', '[', '`', '{'}) presses.press(c);
  EXPECT_EQ(presses.takeLetter(), "");
  presses.press('Q');
  presses.clear();
  EXPECT_EQ(presses.takeLetter(), "");
}

}  // namespace
}  // namespace quillon::app
