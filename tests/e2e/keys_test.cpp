// The operator's keys on the real program: real key presses from xdotool on
// a display of the test's own, and what reached the audio server judged by
// ear. Two letters struck together both sound, a letter with Ctrl sounds
// nothing, a Russian layout fires the carts marked on its keys, instant keys
// fire, and a wheel notch over the favourites list leaves the carts playing.
#include <QDir>

#include "e2e/onair.h"

namespace quillon::test {
namespace {

constexpr double kAmplitude = 0.25;
constexpr double kHeard = kAmplitude / 2;
constexpr double kSilent = 0.005;

struct Cart {
  char letter;
  ToneSpec spec;
};
// Long enough to outlast each test's steps; looping would hide a stop.
const Cart kA{'a', {"key-a440.wav", 440, 48000, 1, 30, kAmplitude}};
const Cart kC{'c', {"key-c880.wav", 880, 48000, 1, 30, kAmplitude}};
const Cart kZ{'z', {"key-z660.wav", 660, 48000, 1, 30, kAmplitude}};

class Keys : public OnAir {
 protected:
  // Config.ini with a palette of A, C and Z as its only favourite, and
  // Quillon.ini with `additions`; the program started, the palette loaded.
  void startWithPalette(const QByteArray& additions = {}) {
    PaletteCarts carts;
    for (const Cart& c : {kA, kC, kZ}) {
      carts[static_cast<std::size_t>(c.letter - 'a')] = {tone(c.spec), 100, false};
    }
    favouriteConfig(writePalette("keys.pal", carts));
    ASSERT_TRUE(writeWholeFile(path("program/Quillon.ini"), additions));
    ASSERT_NO_FATAL_FAILURE(startQuillon(false));
    // Whichever device the program took on the server: its own JACK client,
    // or ALSA's JACK plugin where that plugin is installed (its default
    // device then). The keys are what is tested here, not the device.
    std::string error;
    ASSERT_TRUE(m_listener->connect(kProgramClient, 30000, error)) << error;
    ASSERT_NO_FATAL_FAILURE(chooseFavourite(1));
  }
  // Half a second later, whether the tone is there.
  bool soundsAfterAWhile(double hz) {
    EXPECT_TRUE(m_listener->waitFor(m_listener->rate() / 2));
    return m_listener->amplitudeAt(hz, m_listener->position()) >= kHeard;
  }
};

TEST_F(Keys, TwoLettersStruckFortyMillisecondsApartBothSound) {
  ASSERT_NO_FATAL_FAILURE(startWithPalette());
  // The later letter first in the alphabet: the order that lost a cart.
  ASSERT_TRUE(m_desktop->keys({"c", "a"}, 40));
  EXPECT_GE(m_listener->waitForTone(kC.spec.hz, kHeard), 0) << "C was not heard";
  EXPECT_GE(m_listener->waitForTone(kA.spec.hz, kHeard), 0) << "A was not heard";
  EXPECT_TRUE(soundsAfterAWhile(kA.spec.hz) && soundsAfterAWhile(kC.spec.hz));
  screenshot("both-playing");
  // And again, stopped together.
  ASSERT_TRUE(m_desktop->keys({"a", "c"}, 40));
  EXPECT_GE(m_listener->waitForSilence(), 0) << "A and C did not both stop";
}

TEST_F(Keys, ALetterWithCtrlOrAltFiresNothing) {
  ASSERT_NO_FATAL_FAILURE(startWithPalette());
  ASSERT_TRUE(m_desktop->keys({"ctrl+a", "alt+c", "ctrl+shift+z"}, 40));
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate()));
  EXPECT_LT(
      peak(m_listener->frames(m_listener->position() - m_listener->rate(), m_listener->position())),
      kSilent)
      << "a letter with a modifier fired a cart";
  // Shift is the capital only: it fires.
  ASSERT_TRUE(m_desktop->key("shift+a"));
  EXPECT_GE(m_listener->waitForTone(kA.spec.hz, kHeard), 0) << "Shift+A did not fire A";
}

TEST_F(Keys, UnderARussianLayoutTheKeysMarkedAAndZFireTheirCarts) {
  ASSERT_TRUE(m_desktop->keyboardLayouts("us,ru", 1)) << "setxkbmap us,ru with ru active";
  ASSERT_NO_FATAL_FAILURE(startWithPalette());
  // The keys marked A and Z type ф and я in the Russian group.
  ASSERT_TRUE(m_desktop->key("Cyrillic_ef"));
  EXPECT_GE(m_listener->waitForTone(kA.spec.hz, kHeard), 0) << "ф (the A key) did not fire A";
  ASSERT_TRUE(m_desktop->key("Cyrillic_ya"));
  EXPECT_GE(m_listener->waitForTone(kZ.spec.hz, kHeard), 0) << "я (the Z key) did not fire Z";
  ASSERT_TRUE(m_desktop->key("Cyrillic_ef"));
  EXPECT_GE(m_listener->waitForToneBelow(kA.spec.hz, kSilent), 0) << "ф did not stop A";
  EXPECT_TRUE(soundsAfterAWhile(kZ.spec.hz));
}

TEST_F(Keys, WithInstantKeysALetterFiresAndAHeldKeyFiresOnce) {
  ASSERT_NO_FATAL_FAILURE(startWithPalette("[Keys]\nInstant=1\n"));
  ASSERT_NO_FATAL_FAILURE(fire('c', kC.spec.hz, kAmplitude));
  ASSERT_TRUE(m_desktop->xdotool({"keydown", "a"}));
  const long heard = m_listener->waitForTone(kA.spec.hz, kHeard);
  ASSERT_GE(heard, 0) << "the held key did not fire A";
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate()));
  ASSERT_TRUE(m_desktop->xdotool({"keyup", "a"}));
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate() / 2));
  std::string why;
  EXPECT_TRUE(m_listener->keptSounding(kA.spec.hz, kAmplitude, heard, m_listener->position(), why))
      << "the held key: " << why;
  ASSERT_NO_FATAL_FAILURE(stop('c', kC.spec.hz));
}

TEST_F(Keys, AWheelNotchOverTheFavouritesListLeavesThePlayingCartAlone) {
  ASSERT_NO_FATAL_FAILURE(startWithPalette());
  ASSERT_NO_FATAL_FAILURE(fire('a', kA.spec.hz, kAmplitude));
  const QPoint list = middleOf(app::Panel::ComboListePalette, app::Panel::Picture6);
  // Buttons 5 and 4: a notch down, a notch up. (The pointer is already
  // there from the choice of the favourite; --sync would wait for a move.)
  ASSERT_TRUE(m_desktop->xdotool({"mousemove", QString::number(list.x()), QString::number(list.y()),
                                  "sleep", "0.2", "click", "5", "sleep", "0.2", "click", "4",
                                  "sleep", "0.2", "click", "5"}));
  const long from = m_listener->position();
  ASSERT_TRUE(m_listener->waitFor(m_listener->rate()));
  std::string why;
  EXPECT_TRUE(m_listener->keptSounding(kA.spec.hz, kAmplitude, from, m_listener->position(), why))
      << "the wheel stopped the cart: " << why;
  screenshot("after-wheel");
}

}  // namespace
}  // namespace quillon::test
