// The panic key and the end warning in the main window under the offscreen
// platform, with the fake engine: what Escape and Shift+Escape do to carts
// playing, paused and stopped, where Escape keeps its ordinary meaning, and
// Quillon.ini switching both off.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <fstream>

#include "explorer/explorer.h"
#include "palette/additionsettings.h"
#include "palette/inifile.h"
#include "panicwindow.h"

namespace quillon::app {
namespace {

using namespace std::chrono_literals;

class Panic : public testing::Test, public test::PanicWindow {
 protected:
  void SetUp() override {
    window = makeWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(engine.players.size(), 27u);  // the carts', then AudioPlayerMain
    loadCarts(*window);
    engine.clock.advance(1s);
    ASSERT_TRUE(untouched(*window));
    before = settingsOf(*window);
  }
  // The loudest of the last `frames` frames a cart's player sent out.
  int loudness(int cart, int frames) const {
    int peak = 0;
    for (std::int16_t s :
         engine.players.at(static_cast<std::size_t>(cart))->RecentSamples(frames)) {
      peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    return peak;
  }

  std::unique_ptr<Cartoucheur> window;
  std::vector<test::CartSettings> before;
};

TEST_F(Panic, EscapeStopsEveryPlayingAndPausedCartAndKeepsTheirSettings) {
  pressEscape(*window);
  for (int k = 0; k < window->cartCount(); ++k) {
    EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
    EXPECT_EQ(window->cart(k)->cart().look().background, cart::Background::Stop) << k;
  }
  EXPECT_EQ(settingsOf(*window), before);
  // Stopped carts start again as before, by their letter too.
  window->cart(2)->cart().KeyPressRacc("C");
  EXPECT_TRUE(window->cart(2)->cart().Playing());
}

TEST_F(Panic, ShiftEscapeBringsThePlayingCartsToSilenceInTwoSecondsThenStopsThem) {
  pressEscape(*window, Qt::ShiftModifier);
  for (int k : kPlaying) EXPECT_TRUE(window->cart(k)->cart().fadingOut()) << k;
  EXPECT_TRUE(window->cart(kPaused)->cart().Paused());  // silent already: left paused

  // Half-way the carts are still heard (the ramp of the fake files spans
  // 8192 steps over 4096 frames, so a cart at level L peaks at 4096 L or
  // more); 10 ms before the end hardly at all; then they stop.
  engine.clock.advance(1000ms);
  for (int k : kPlaying) EXPECT_GT(loudness(k, 4096), 800) << k;
  engine.clock.advance(990ms);
  for (int k : kPlaying) {
    EXPECT_TRUE(window->cart(k)->cart().Playing()) << k;
    EXPECT_LT(loudness(k, 64), 200) << k;  // under 1 % of the source
  }
  engine.clock.advance(10ms);
  for (int k : kPlaying) EXPECT_LE(loudness(k, 16), 4) << k;  // the last frames of the line
  engine.clock.advance(100ms);
  for (int k : kPlaying) EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
  EXPECT_TRUE(window->cart(kPaused)->cart().Paused());
  EXPECT_EQ(settingsOf(*window), before);
}

TEST_F(Panic, EscapeDuringTheFadeStopsAtOnce) {
  pressEscape(*window, Qt::ShiftModifier);
  engine.clock.advance(500ms);
  pressEscape(*window);
  for (int k = 0; k < window->cartCount(); ++k) {
    EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
  }
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

TEST_F(Panic, AnOpenMenuComboListOrDialogTakesEscapeAndNothingStops) {
  {
    QMenu menu(window.get());
    menu.addAction("Something");
    menu.popup(window->mapToGlobal(QPoint(40, 40)));
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    pressEscape(*window);
    EXPECT_TRUE(untouched(*window));
    menu.close();
  }
  {
    QComboBox* devices = window->controls().combo4;
    devices->showPopup();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    pressEscape(*window);
    EXPECT_TRUE(untouched(*window));
    devices->hidePopup();
  }
  {
    QDialog dialog(window.get());
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
    pressEscape(*window);
    EXPECT_TRUE(untouched(*window));
    // Escape reaching the dialog closes it, as usual.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(untouched(*window));
  }
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->isActiveWindow(); }));
  pressEscape(*window);  // everything closed: the panic again
  for (int k : kPlaying) EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
}

TEST_F(Panic, AnInPlaceEditorInTheExplorerTakesEscapeAndNothingStops) {
  QAbstractItemView* list = window->controls().explorer1->List_File();
  ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) > 0; }));
  const QModelIndex item = list->model()->index(0, 0, list->rootIndex());
  list->openPersistentEditor(item);
  QWidget* editor = list->indexWidget(item);
  ASSERT_NE(editor, nullptr);
  // Escape, plain or shifted, goes to the editor (a plain one cancels the
  // edit and gives the focus back to the panel).
  for (Qt::KeyboardModifiers m : {Qt::NoModifier, Qt::ShiftModifier}) {
    editor->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == editor; }));
    pressEscape(*window, m);
    EXPECT_TRUE(untouched(*window));
    for (int k : kPlaying) EXPECT_FALSE(window->cart(k)->cart().fadingOut()) << k;
  }

  list->closePersistentEditor(item);
  window->controls().picture5->setFocus();
  pressEscape(*window);
  for (int k : kPlaying) EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
}

TEST_F(Panic, TheOperationsThemselvesServeOtherCallers) {
  window->fadeOutAllCarts();
  for (int k : kPlaying) EXPECT_TRUE(window->cart(k)->cart().fadingOut()) << k;
  window->stopAllCarts();
  for (int k = 0; k < window->cartCount(); ++k) {
    EXPECT_FALSE(window->cart(k)->cart().Playing()) << k;
  }
  EXPECT_EQ(settingsOf(*window), before);
}

// --- Quillon.ini ---

class AdditionsFile : public testing::Test, public test::PanicWindow {
 protected:
  palette::AdditionSettings read(const std::string& text) {
    const std::string path = folder.filePath("Quillon.ini").toStdString();
    std::ofstream(path) << text;
    return palette::readAdditionSettings(palette::IniFile::load(path));
  }
  // Whether cart C's frame lights up within the next half second.
  bool warnsWithinHalfASecond(Cartoucheur& w) {
    bool lit = false;
    for (int step = 0; step < 10; ++step) {
      engine.clock.advance(50ms);
      lit = lit || w.cart(2)->cart().look().endWarning;
    }
    return lit;
  }
  QTemporaryDir folder;
};

TEST_F(AdditionsFile, BothOnByDefaultWithTheirSeconds) {
  auto w = makeWindow(read("[EndWarning]\nSeconds=2\n"));
  ASSERT_NE(w, nullptr);
  loadCarts(*w);
  engine.clock.advance(7450ms);
  EXPECT_FALSE(warnsWithinHalfASecond(*w));            // 7.5 to 7.95 s: not yet
  EXPECT_TRUE(warnsWithinHalfASecond(*w));             // 8 to 8.45 s
  EXPECT_FALSE(w->cart(0)->cart().look().endWarning);  // A loops
  EXPECT_FALSE(w->cart(kPaused)->cart().look().endWarning);
  pressEscape(*w);
  EXPECT_FALSE(w->cart(2)->cart().Playing());
}

TEST_F(AdditionsFile, SwitchedOffTheyDoNothing) {
  auto w = makeWindow(read("[Panic]\nEnabled=0\n[EndWarning]\nEnabled=0\n"));
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
