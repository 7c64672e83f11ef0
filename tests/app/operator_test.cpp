// The operator's keys and what the window shows them, off screen on the
// stepped clock: every press of a poll fires at the tick, instant keys fire
// at the press, and the status bar lists what plays.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <chrono>

#include "app/statusbar1.h"
#include "quietwindow.h"
#include "support/cartoucheurprobe.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace quillon::app::test {
namespace {

using namespace std::chrono_literals;

class OperatorTest : public testing::Test, public QuietWindow {
 protected:
  // Carts A to F hold ten-second files.
  std::unique_ptr<Cartoucheur> window(const settings::AdditionSettings& additions = {}) {
    auto w = activeWindow(additions);
    if (!w) return w;
    engine.media.add("/jingles/Weather Sting.wav", quillon::test::FakeFile{{44100, 2}, 441000});
    for (int k = 0; k < 6; ++k) w->cart(k)->cart().SetTitle("/jingles/Weather Sting.wav");
    return w;
  }
  // A key event entering the window, as the platform delivers it.
  void key(Cartoucheur& w, QEvent::Type type, char letter, std::uint64_t time,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const auto code = static_cast<Qt::Key>(Qt::Key_A + (letter - 'a'));
    QKeyEvent event(type, code, modifiers, QString(QChar(letter)));
    event.setTimestamp(time);
    QCoreApplication::sendEvent(w.windowHandle(), &event);
  }
  void tap(Cartoucheur& w, char letter, std::uint64_t time,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    key(w, QEvent::KeyPress, letter, time, modifiers);
    key(w, QEvent::KeyRelease, letter, time + 60, modifiers);
  }
  static std::string playing(const Cartoucheur& w) {
    std::string letters;
    for (int k = 0; k < w.cartCount(); ++k) {
      if (w.cart(k)->cart().Playing()) letters += w.cart(k)->cart().Letter();
    }
    return letters;
  }
};

TEST_F(OperatorTest, EveryLetterPressedBetweenTwoTicksFiresItsCart) {
  auto w = window();
  ASSERT_TRUE(w);
  // Pressed 40 ms apart, the later one earlier in the alphabet, and held
  // over the tick.
  key(*w, QEvent::KeyPress, 'c', 1000);
  key(*w, QEvent::KeyPress, 'a', 1040);
  EXPECT_EQ(playing(*w), "");  // without instant keys, a press waits for the tick
  CartoucheurProbe::pollKeys(*w);
  EXPECT_EQ(playing(*w), "AC");
  CartoucheurProbe::pollKeys(*w);  // still held: each press fires once
  EXPECT_EQ(playing(*w), "AC");
  key(*w, QEvent::KeyRelease, 'c', 1200);
  key(*w, QEvent::KeyRelease, 'a', 1210);
  tap(*w, 'b', 1300);
  tap(*w, 'c', 1340);
  CartoucheurProbe::pollKeys(*w);
  EXPECT_EQ(playing(*w), "AB");  // B started, C stopped
}

TEST_F(OperatorTest, WithInstantKeysALetterFiresAtItsPressWithoutWaitingForATick) {
  settings::AdditionSettings additions;
  additions.keys.instant = true;
  auto w = window(additions);
  ASSERT_TRUE(w);
  key(*w, QEvent::KeyPress, 'b', 1000);
  EXPECT_EQ(playing(*w), "B");           // no tick has run
  key(*w, QEvent::KeyPress, 'b', 1500);  // the key's repeat
  CartoucheurProbe::pollKeys(*w);        // and a tick: nothing more
  EXPECT_EQ(playing(*w), "B");
  key(*w, QEvent::KeyRelease, 'b', 1600);
  tap(*w, 'a', 1700, Qt::ControlModifier);
  EXPECT_EQ(playing(*w), "B");
  tap(*w, 'b', 1800);
  EXPECT_EQ(playing(*w), "");

  // A letter typed into another window of the program fires nothing.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
  QCoreApplication::sendEvent(other.windowHandle(), &press);
  CartoucheurProbe::pollKeys(*w);
  EXPECT_EQ(playing(*w), "");
}

TEST_F(OperatorTest, TheOnAirViewCountsDownWhatPlaysInTheOrderItStarted) {
  auto w = window();
  ASSERT_TRUE(w);
  const StatusBar1& bar = *w->controls().statusBar;
  EXPECT_EQ(bar.onAirText(), "");
  w->cart(2)->cart().playClick();
  engine.clock.advance(1000ms);
  w->cart(0)->cart().playClick();
  engine.clock.advance(2000ms);
  // C has run 3 s of 10, A 2 s: each countdown and running time make 10 s.
  EXPECT_EQ(w->cart(2)->cart().look().runningTime, "00:03");
  EXPECT_EQ(w->cart(0)->cart().look().runningTime, "00:02");
  EXPECT_EQ(bar.onAirText(), "C Weather Sting 0:07 · A Weather Sting 0:08");
  ASSERT_EQ(w->onAir().size(), 2u);
  EXPECT_FALSE(w->onAir()[0].ending);
  engine.clock.advance(2000ms);  // C within its last 5 s
  EXPECT_TRUE(w->onAir()[0].ending);
  EXPECT_FALSE(w->onAir()[1].ending);
  w->cart(0)->cart().pauseClick();
  EXPECT_TRUE(w->onAir()[1].paused);
  engine.clock.advance(6000ms);  // C ends
  EXPECT_EQ(bar.onAirText(), "A Weather Sting 0:06");
  w->cart(0)->cart().stopClick();
  EXPECT_EQ(bar.onAirText(), "");
}

TEST_F(OperatorTest, TheCountdownOptionShowsTheTimeLeftOnEachCart) {
  settings::AdditionSettings additions;
  additions.display.remaining = true;
  auto w = window(additions);
  ASSERT_TRUE(w);
  cart::Cartouche& c = w->cart(1)->cart();
  c.playClick();
  EXPECT_EQ(c.look().runningTime, "-0:10");
  engine.clock.advance(3000ms);
  EXPECT_EQ(c.look().runningTime, "-0:07");
  EXPECT_EQ(w->controls().statusBar->onAirText(), "B Weather Sting 0:07");
  c.stopClick();
  EXPECT_EQ(c.look().runningTime, "00:00");
}

}  // namespace
}  // namespace quillon::app::test
