// The panic key and the end warning in the main window under the offscreen
// platform: what Escape and Shift+Escape do to carts playing, paused and
// stopped, where Escape keeps its ordinary meaning, and Quillon.ini's
// switches. The fade's sound is checked on one cart in the cart's tests.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QDialog>
#include <QMenu>
#include <chrono>

#include "explorer/explorer.h"
#include "quietwindow.h"

namespace quillon::app {
namespace {

using namespace std::chrono_literals;

class Panic : public testing::Test, public test::QuietWindow {
 protected:
  void SetUp() override {
    window = activeWindow();
    ASSERT_NE(window, nullptr);
    loadCarts(*window);
    engine.clock.advance(1s);
    ASSERT_TRUE(untouched(*window));
    before = settingsOf(*window);
  }

  std::unique_ptr<Cartoucheur> window;
  std::vector<test::CartSettings> before;
};

TEST_F(Panic, EscapeStopsEveryPlayingAndPausedCartAndKeepsTheirSettings) {
  pressEscape(*window);
  EXPECT_TRUE(allStopped(*window));
  for (int k = 0; k < window->cartCount(); ++k) {
    EXPECT_EQ(window->cart(k)->cart().look().background, cart::Background::Stop) << k;
  }
  EXPECT_EQ(settingsOf(*window), before);
  // Stopped carts start again as before, by their letter too.
  window->cart(2)->cart().KeyPressRacc("C");
  EXPECT_TRUE(window->cart(2)->cart().Playing());
}

TEST_F(Panic, ShiftEscapeFadesThePlayingCartsForTwoSecondsThenStopsThem) {
  pressEscape(*window, Qt::ShiftModifier);
  for (int k : kPlaying) EXPECT_TRUE(window->cart(k)->cart().fadingOut()) << k;
  engine.clock.advance(1990ms);
  for (int k : kPlaying) EXPECT_TRUE(window->cart(k)->cart().Playing()) << k;
  engine.clock.advance(110ms);
  for (int k : kPlaying) EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
  EXPECT_TRUE(window->cart(kPaused)->cart().Paused());  // silent already: left paused
  EXPECT_EQ(settingsOf(*window), before);
}

TEST_F(Panic, EscapeWithControlAltOrMetaIsTheDesktopsAndAHeldKeyIsNotRepeated) {
  for (Qt::KeyboardModifier m : {Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
    pressEscape(*window, m);
    EXPECT_TRUE(untouched(*window)) << m;
  }
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(window->windowHandle(), &repeat);
  EXPECT_TRUE(untouched(*window));
}

// A key entering the window while a menu is open belongs to the menu. (A
// combo box's list closes on Escape before the key goes anywhere: on a real
// X server the key then enters the list's own window, never this one.)
TEST_F(Panic, AnOpenMenuOrDialogTakesEscapeAndNothingStops) {
  {
    QMenu menu(window.get());
    menu.addAction("Something");
    menu.popup(window->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    pressEscape(*window);
    EXPECT_TRUE(untouched(*window));
  }
  QDialog dialog(window.get());
  dialog.setModal(true);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
  pressEscape(*window);
  EXPECT_TRUE(untouched(*window));
  QTest::keyClick(&dialog, Qt::Key_Escape);  // reaching the dialog, it closes it as usual
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(untouched(*window));

  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }));
  pressEscape(*window);  // everything closed: the panic again
  EXPECT_TRUE(allStopped(*window));
}

TEST_F(Panic, AnInPlaceEditorInTheExplorerTakesEscapeAndNothingStops) {
  QAbstractItemView* list = window->controls().explorer->List_File();
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) > 0; }));
  const QModelIndex item = list->model()->index(0, 0, list->rootIndex());
  list->openPersistentEditor(item);
  QWidget* editor = list->indexWidget(item);
  ASSERT_NE(editor, nullptr);
  for (Qt::KeyboardModifiers m : {Qt::NoModifier, Qt::ShiftModifier}) {
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor; }));
    pressEscape(*window, m);
    EXPECT_TRUE(untouched(*window));
    for (int k : kPlaying) EXPECT_FALSE(window->cart(k)->cart().fadingOut()) << k;
  }
  list->closePersistentEditor(item);
  window->controls().cartCanvas->setFocus();
  pressEscape(*window);
  EXPECT_TRUE(allStopped(*window));
}

// --- Quillon.ini's switches (the file itself is read in the palette's tests) ---

class Additions : public testing::Test, public test::QuietWindow {
 protected:
  // Whether cart C's frame lights up within the next half second.
  bool warnsWithinHalfASecond(Cartoucheur& w) {
    bool lit = false;
    for (int step = 0; step < 10; ++step) {
      engine.clock.advance(50ms);
      lit = lit || w.cart(2)->cart().look().endWarning;
    }
    return lit;
  }
};

TEST_F(Additions, TheEndWarningLightsForItsSecondsAndTheKeysWork) {
  settings::AdditionSettings settings;
  settings.endWarning.seconds = 2;
  auto w = activeWindow(settings);
  ASSERT_NE(w, nullptr);
  loadCarts(*w);
  engine.clock.advance(7450ms);
  EXPECT_FALSE(warnsWithinHalfASecond(*w));  // 7.5 to 7.95 s: not yet
  EXPECT_TRUE(warnsWithinHalfASecond(*w));   // 8 to 8.45 s
  pressEscape(*w);
  EXPECT_FALSE(w->cart(2)->cart().Playing());
}

TEST_F(Additions, SwitchedOffTheyDoNothing) {
  settings::AdditionSettings settings;
  settings.panic.enabled = false;
  settings.endWarning.enabled = false;
  auto w = activeWindow(settings);
  ASSERT_NE(w, nullptr);
  loadCarts(*w);
  engine.clock.advance(1s);
  pressEscape(*w);
  pressEscape(*w, Qt::ShiftModifier);
  engine.clock.advance(3s);
  EXPECT_TRUE(untouched(*w));
  engine.clock.advance(4500ms);  // 8.5 s: the last seconds
  EXPECT_FALSE(warnsWithinHalfASecond(*w));
  EXPECT_TRUE(w->cart(2)->cart().Playing());
}

}  // namespace
}  // namespace quillon::app
