#include "app/letterpresses.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

using Presses = std::vector<LetterPress>;

// A key pressed and released at `time`, as a quick tap is.
void tap(LetterPresses& presses, char letter, std::uint64_t time, KeyModifiers modifiers = 0) {
  presses.press(letter, modifiers, time);
  presses.release(letter, time + 80);
}

TEST(LetterPresses, EveryPressSinceTheLastPollComesInTheOrderPressed) {
  LetterPresses presses;
  EXPECT_EQ(presses.takePresses(), Presses{});
  // Two carts fired together, 40 ms apart, in both alphabetical orders.
  presses.press('c', 0, 1000);
  presses.press('a', 0, 1040);
  presses.release('c', 1090);
  presses.release('a', 1100);
  EXPECT_EQ(presses.takePresses(), (Presses{{'C', 0}, {'A', 0}}));
  EXPECT_EQ(presses.takePresses(), Presses{});  // a press counts once
  tap(presses, 'A', 1300);
  tap(presses, 'b', 1340);
  // The same key tapped twice within one poll: two presses, two toggles.
  tap(presses, 'a', 1500);
  EXPECT_EQ(presses.takePresses(), (Presses{{'A', 0}, {'B', 0}, {'A', 0}}));
}

TEST(LetterPresses, ModifiersStayWithEachPressAndOnlyControlAltAndMetaKeepACartSilent) {
  LetterPresses presses;
  tap(presses, 'a', 1000, kControlKey);
  tap(presses, 'S', 1100, kShiftKey);
  tap(presses, 'd', 1200, kAltKey);
  tap(presses, 'f', 1300, kMetaKey);
  tap(presses, 'g', 1400, kShiftKey | kControlKey);
  const Presses taken = presses.takePresses();
  ASSERT_EQ(taken, (Presses{{'A', kControlKey},
                            {'S', kShiftKey},
                            {'D', kAltKey},
                            {'F', kMetaKey},
                            {'G', kShiftKey | kControlKey}}));
  std::string firing;
  for (const LetterPress& p : taken) {
    if (p.firesCart()) firing += p.letter;
  }
  EXPECT_EQ(firing, "S");  // Shift is only the capital
  std::string preListening;
  for (const LetterPress& p : taken) {
    if (p.preListens()) preListening += p.letter;
  }
  EXPECT_EQ(preListening, "AG");  // Ctrl, with or without Shift
}

TEST(LetterPresses, OnlyLettersCountAndClearForgetsPressesButNotTheNextOne) {
  LetterPresses presses;
  for (char c : {'1', ' ', '@', '[', '`', '{'}) tap(presses, c, 1000);
  EXPECT_EQ(presses.takePresses(), Presses{});
  presses.press('Q', 0, 2000);
  presses.clear();
  EXPECT_EQ(presses.takePresses(), Presses{});
  // A key held when the window lost the keyboard (its release went to
  // another window) counts at its next press.
  presses.press('K', 0, 3000);
  EXPECT_EQ(presses.takePresses(), (Presses{{'K', 0}}));
  presses.clear();
  presses.press('K', 0, 5000);
  EXPECT_EQ(presses.takePresses(), (Presses{{'K', 0}}));
}

// The keyboard's repeats of a held key, in both forms X sends them, never
// count; a new press after a real release does.
TEST(LetterPresses, AHeldKeyCountsOnceWhateverFormItsRepeatsTake) {
  LetterPresses presses;
  EXPECT_TRUE(presses.press('F', 0, 1000));
  EXPECT_EQ(presses.takePresses().size(), 1u);
  // Detectable auto-repeat: presses with no release between them.
  for (std::uint64_t t = 1660; t < 2500; t += 40) EXPECT_FALSE(presses.press('f', 0, t));
  EXPECT_EQ(presses.takePresses(), Presses{});
  // Plain auto-repeat: a release and a press at the same instant.
  for (std::uint64_t t = 2500; t < 3500; t += 40) {
    presses.release('F', t);
    EXPECT_FALSE(presses.press('F', 0, t));
  }
  EXPECT_EQ(presses.takePresses(), Presses{});
  presses.release('F', 3600);
  EXPECT_TRUE(presses.press('F', 0, 3700));  // a new press
  EXPECT_EQ(presses.takePresses(), (Presses{{'F', 0}}));
}

// With instant keys the window fires a press itself: it still counts once
// (the repeats stay silent) but nothing waits for the poll.
TEST(LetterPresses, APressHandledAtOnceIsNotHandedOnAgainAtThePoll) {
  LetterPresses presses;
  EXPECT_TRUE(presses.press('B', 0, 1000, false));
  EXPECT_FALSE(presses.press('B', 0, 1030, false));  // its repeat
  EXPECT_EQ(presses.takePresses(), Presses{});
}

TEST(LetterPresses, AFloodOfPressesWithinOnePollIsBounded) {
  LetterPresses presses;
  for (std::uint64_t t = 0; t < 1000; ++t) tap(presses, static_cast<char>('a' + t % 26), t * 100);
  EXPECT_EQ(presses.takePresses().size(), LetterPresses::kMaxWaiting);
  tap(presses, 'z', 200000);
  EXPECT_EQ(presses.takePresses(), (Presses{{'Z', 0}}));  // the next poll starts afresh
}

// X keycodes are the Linux input codes + 8: KEY_Q is 16, KEY_A 30, KEY_Z 44,
// KEY_M 50, KEY_SEMICOLON 39, KEY_COMMA 51.
constexpr std::uint32_t kKeyQ = 24, kKeyA = 38, kKeyZ = 52, kKeyM = 58, kKeyP = 33, kKeyL = 46,
                        kKeySemicolon = 47, kKeyComma = 59, kKey1 = 10;

TEST(LetterOfKey, TheKeyMarkedWithALetterFiresItUnderEveryLayout) {
  const struct {
    const char* layout;
    std::optional<char> symbol;  // the layout's Latin letter, if any
    bool otherScript;
    std::optional<char> mapped;  // a Latin letter in another group of the map
    std::uint32_t keycode;
    std::optional<char> letter;
  } cases[] = {
      {"us: A", 'a', false, std::nullopt, kKeyA, 'A'},
      // AZERTY keeps its own letters: its A key (QWERTY's Q place) is A, and
      // its M (QWERTY's ; place) is M.
      {"fr: A key", 'a', false, std::nullopt, kKeyQ, 'A'},
      {"fr: M key", 'm', false, std::nullopt, kKeySemicolon, 'M'},
      // Its comma sits at QWERTY's M place: punctuation, no cart.
      {"fr: comma", std::nullopt, false, std::nullopt, kKeyM, std::nullopt},
      {"us: digit", std::nullopt, false, std::nullopt, kKey1, std::nullopt},
      // us,ru with the Russian group active: the map's Latin group decides.
      {"us,ru: ф", std::nullopt, true, 'a', kKeyA, 'A'},
      {"us,ru: я", std::nullopt, true, 'z', kKeyZ, 'Z'},
      // fr,ru: the Latin group is AZERTY, so the key marked A is A.
      {"fr,ru: й", std::nullopt, true, 'a', kKeyQ, 'A'},
      // Russian alone: the key's place, as a US keyboard marks it.
      {"ru: й", std::nullopt, true, std::nullopt, kKeyQ, 'Q'},
      {"ru: з", std::nullopt, true, std::nullopt, kKeyP, 'P'},
      {"ru: д", std::nullopt, true, std::nullopt, kKeyL, 'L'},
      {"ru: ь", std::nullopt, true, std::nullopt, kKeyM, 'M'},
      // Russian letters off the US letter keys (ж on ;, б on ,): no cart.
      {"ru: ж", std::nullopt, true, std::nullopt, kKeySemicolon, std::nullopt},
      {"ru: б", std::nullopt, true, std::nullopt, kKeyComma, std::nullopt},
      {"no keycode", std::nullopt, true, std::nullopt, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(letterOfKey(c.symbol, c.otherScript, c.mapped, c.keycode), c.letter) << c.layout;
  }
}

}  // namespace
}  // namespace quillon::app
