// The main window under the offscreen platform: its load step, its panels
// where the geometry puts them, scrolling, the toolbar and closing.
#include "app/cartoucheur.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>
#include <map>

#include "about/shell.h"
#include "app/configkeys.h"
#include "app/favoritessteps.h"
#include "app/panels.h"
#include "app/toolbar1.h"
#include "clock/clockpanel.h"
#include "support/fakeengine.h"

namespace quillon::app {
namespace {

using Journal = std::vector<std::string>;

struct RecordingConfig : ConfigKeys {
  explicit RecordingConfig(Journal& j) : journal(j) {}
  std::string readKey(const std::string& section, const std::string& key) override {
    journal.push_back("read " + section + "/" + key);
    return keys[section + "/" + key];
  }
  void writeKey(const std::string& section, const std::string& key,
                const std::string& value) override {
    journal.push_back("write " + section + "/" + key + "=" + value);
    keys[section + "/" + key] = value;
  }
  Journal& journal;
  std::map<std::string, std::string> keys;
};

struct RecordingFavorites : FavoritesSteps {
  explicit RecordingFavorites(Journal& j) : journal(j) {}
  void EmptyFavorites() override { journal.push_back("EmptyFavorites"); }
  void LoadFavorites() override { journal.push_back("LoadFavorites"); }
  void SaveFavorites() override {
    journal.push_back("SaveFavorites");
    ++saves;
  }
  Journal& journal;
  int saves = 0;
};

struct RecordingShell : about::Shell {
  explicit RecordingShell(Journal& j) : journal(j) {}
  bool ShellOpen(const QString& document, const QString&, const QString&) override {
    journal.push_back("ShellOpen " + document.toStdString());
    return desktopTakesIt;
  }
  Journal& journal;
  bool desktopTakesIt = true;
};

constexpr const char* kPage = "/usr/share/quillon/welcome.html";

class WindowTest : public testing::Test {
 protected:
  std::unique_ptr<Cartoucheur> makeWindow(const QString& page = kPage) {
    return std::make_unique<Cartoucheur>(
        engine, CartoucheurServices{config, favorites, shell, page, [this] {
                                      ++programEnds;
                                      QCoreApplication::exit(0);
                                    }});
  }
  // Binds a 10-second file to every cart and starts every cart.
  void loadAndPlayAll(Cartoucheur& w) {
    engine.media.add("/jingles/bed.wav", test::FakeFile{{44100, 2}, 441000});
    for (int k = 0; k < w.cartCount(); ++k) {
      ASSERT_TRUE(w.cart(k)->cart().SetTitle("/jingles/bed.wav"));
      w.cart(k)->cart().ListenMusic();
      ASSERT_TRUE(w.cart(k)->cart().Playing()) << k;
    }
  }
  // Carts that still hold a file and still play.
  int playing(const Cartoucheur& w) {
    int total = 0;
    for (int k = 0; k < w.cartCount(); ++k) {
      const cart::Cartouche& c = w.cart(k)->cart();
      total += !c.GetTitle().empty() && c.Playing();
    }
    return total;
  }

  Journal journal;
  test::FakeEngine engine;
  RecordingConfig config{journal};
  RecordingFavorites favorites{journal};
  RecordingShell shell{journal};
  int programEnds = 0;
};

TEST_F(WindowTest, LoadStepRunsInItsOrderBeforeTheWindowShows) {
  auto w = makeWindow();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "Quillon V1.0");
  EXPECT_EQ(w->loadStepsRun(),
            (std::vector<LoadStep>{LoadStep::EmptyFavorites, LoadStep::MinimumSize,
                                   LoadStep::FirstRun, LoadStep::LoadFavorites, LoadStep::Carts,
                                   LoadStep::ArrangeCarts, LoadStep::StudioClock,
                                   LoadStep::AudioPlayerMain, LoadStep::FillDeviceList}));
  EXPECT_EQ(journal,
            (Journal{"EmptyFavorites", "read FirstExec/Value", std::string("ShellOpen ") + kPage,
                     "write FirstExec/Value=1", "LoadFavorites"}));
  EXPECT_NE(w->AudioPlayerMain(), nullptr);
  // The clock was built at the panel's width: LED 0 shows, green.
  const clock::ClockPanel* clock = w->controls().picture2;
  EXPECT_EQ(clock->panelWidthTwips(), 3855);
  EXPECT_TRUE(clock->ring().led(0).shown);
  // The smallest window until the frame is known: the initial client area.
  EXPECT_EQ(w->minimumClientSize(), (PixelSize{804, 555}));
  EXPECT_EQ(w->size(), QSize(804, 555));
}

TEST_F(WindowTest, CartsAreLetteredAToZOnTheCanvas) {
  auto w = makeWindow();
  w->show();
  ASSERT_EQ(w->cartCount(), 26);
  QString letters;
  for (int k = 0; k < 26; ++k) {
    letters += QString::fromStdString(w->cart(k)->cart().Letter());
    EXPECT_TRUE(w->cart(k)->isVisible()) << k;
    EXPECT_EQ(w->cart(k)->parentWidget(), w->controls().picture5) << k;
  }
  EXPECT_EQ(letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

TEST_F(WindowTest, TheFirstRunIsDoneOnceEvenWhenThePageFailsToOpenOrIsMissing) {
  shell.desktopTakesIt = false;
  makeWindow();
  EXPECT_EQ(config.keys["FirstExec/Value"], "1");
  journal.clear();
  makeWindow();  // the next start
  EXPECT_EQ(journal, (Journal{"EmptyFavorites", "read FirstExec/Value", "LoadFavorites"}));

  config.keys.clear();
  journal.clear();
  makeWindow(QString());  // no welcome page: nothing opens
  EXPECT_EQ(journal, (Journal{"EmptyFavorites", "read FirstExec/Value", "write FirstExec/Value=1",
                              "LoadFavorites"}));
}

TEST_F(WindowTest, FiveCartsPerRowAt1280Pixels) {
  auto w = makeWindow();
  w->show();
  w->resize(1280, 800);
  EXPECT_EQ(w->geometry().windowWidth(), 19200);  // 1280 pixels at 15 twips each
  // 2610 twips (174 pixels) apart.
  EXPECT_EQ(w->cart(4)->y(), w->cart(0)->y());
  EXPECT_GT(w->cart(5)->y(), w->cart(0)->y());
  EXPECT_EQ(w->cart(1)->x() - w->cart(0)->x(), 174);
  EXPECT_EQ(w->cart(0)->size(), QSize(172, 113));
}

TEST_F(WindowTest, PanelsCarryTheirNamesAndTexts) {
  auto w = makeWindow();
  const CartoucheurControls& c = w->controls();
  EXPECT_EQ(c.barExplorer->caption(), "Windows Explorer >");
  EXPECT_EQ(c.picture3->caption(), "Jingles >");
  EXPECT_EQ(c.label54->text(), "- Device :");
  ASSERT_EQ(c.combo4->count(), 1);  // the null device alone
  EXPECT_EQ(c.combo4->itemText(0), "No sound card (silent output)");
  EXPECT_EQ(c.favoriteCaption->text(), "Favorite :");
  EXPECT_EQ(c.command1->text(), "Add");
  EXPECT_EQ(c.command1->toolTip(), "Add a jingle palette to your favorite");
  EXPECT_EQ(c.command2->text(), "Clear");
  EXPECT_EQ(c.command2->toolTip(), "Clear your favorite list");
  for (const char* name : {"Toolbar1", "Picture6", "ComboListePalette", "BarExplorer", "Explorer1",
                           "Picture2", "Picture4", "Picture3", "Combo4", "Label54", "Picture1",
                           "Picture5", "VScroll1", "StatusBar1"}) {
    EXPECT_NE(w->findChild<QWidget*>(name), nullptr) << name;
  }
  QStringList status;
  for (const QLabel* label : c.statusBar1->findChildren<QLabel*>()) status << label->text();
  EXPECT_TRUE(status.contains("Quillon V1.0"));
}

TEST_F(WindowTest, TheScrollBarMovesTheCanvas600TwipsAStep) {
  auto w = makeWindow();
  w->show();
  w->resize(1000, 600);  // four carts per row, seven rows: 12315 twips in 7470
  QScrollBar* bar = w->controls().vscroll1;
  QWidget* canvas = w->controls().picture5;
  EXPECT_EQ(bar->maximum(), 12315 - 7470);
  EXPECT_EQ(bar->singleStep(), 600);
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(w->geometry()[Panel::Picture5].top, -600);
  EXPECT_EQ(canvas->y(), -40);
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(canvas->y() + canvas->height(), w->controls().picture1->height());

  // The wheel over the grid moves the same bar.
  bar->setValue(0);
  const QPointF at(10, 10);
  QWheelEvent wheel(at, w->controls().picture1->mapToGlobal(at), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w->controls().picture1, &wheel);
  EXPECT_GT(bar->value(), 0);
  EXPECT_EQ(w->geometry()[Panel::Picture5].top, -bar->value());

  // A window large enough for every row: nothing to scroll.
  w->resize(1280, 1200);
  EXPECT_EQ(bar->maximum(), 0);
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(canvas->y(), 0);
}

TEST_F(WindowTest, TheSmallestWindowIsTheOuterMinimumLessTheFrame) {
  auto w = makeWindow();
  w->show();
  const QMargins frame = w->windowHandle()->frameMargins();
  const QSize expected(812 - frame.left() - frame.right(), 582 - frame.top() - frame.bottom());
  EXPECT_EQ(w->minimumSize(), expected);
  w->resize(300, 200);
  EXPECT_EQ(w->size(), expected);
}

TEST_F(WindowTest, ToolbarHoldsFiveCommandsBetweenSeparators) {
  auto w = makeWindow();
  const Toolbar1* toolbar = w->controls().toolbar1;
  const std::map<int, QString> texts = {
      {1, "Quit"}, {3, "New"}, {5, "Open"}, {7, "Save"}, {9, "About"}};
  for (int position = 1; position <= 9; ++position) {
    const QToolButton* button = toolbar->button(position);
    if (texts.count(position)) {
      ASSERT_NE(button, nullptr) << position;
      EXPECT_EQ(button->text(), texts.at(position));
    } else {
      EXPECT_EQ(button, nullptr) << position;
    }
  }
}

TEST_F(WindowTest, NewStopsAndEmptiesEveryCartAndTouchesNothingElse) {
  auto w = makeWindow();
  loadAndPlayAll(*w);
  w->cart(7)->cart().SetVolume(60);
  journal.clear();
  w->controls().toolbar1->button(3)->click();
  for (int k = 0; k < 26; ++k) {
    const cart::Cartouche& c = w->cart(k)->cart();
    EXPECT_FALSE(c.Playing()) << k;
    EXPECT_EQ(c.GetTitle(), "") << k;
    EXPECT_EQ(c.GetVolume(), "100") << k;
  }
  EXPECT_TRUE(journal.empty());  // no favourites written, no Config.ini touched
  EXPECT_EQ(programEnds, 0);
}

TEST_F(WindowTest, QuitWritesTheFavoritesStopsEveryCartAndEndsTheProgram) {
  auto w = makeWindow();
  w->show();
  loadAndPlayAll(*w);
  journal.clear();
  QTimer::singleShot(0, w.get(), [&] { w->controls().toolbar1->button(1)->click(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(programEnds, 1);
  EXPECT_EQ(journal, (Journal{"SaveFavorites"}));  // the close handler did not run as well
  EXPECT_EQ(playing(*w), 0);
  w.reset();
  EXPECT_EQ(favorites.saves, 1);
}

TEST_F(WindowTest, ClosingTheWindowWritesTheFavorites) {
  auto w = makeWindow();
  w->show();
  loadAndPlayAll(*w);
  journal.clear();
  EXPECT_TRUE(w->close());
  EXPECT_EQ(journal, (Journal{"SaveFavorites"}));
  EXPECT_EQ(playing(*w), 26);  // closing stops nothing by hand
}

TEST_F(WindowTest, AboutIsModalUntilOk) {
  auto w = makeWindow();
  w->show();
  QString modal;
  QTimer::singleShot(0, w.get(), [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    modal = dialog->objectName();
    dialog->findChild<QPushButton*>("Command1")->click();
  });
  w->controls().toolbar1->button(9)->click();
  EXPECT_EQ(modal, "Form1");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace quillon::app

namespace quillon::app {
namespace {

using WindowInputTest = WindowTest;

TEST_F(WindowInputTest, ALetterPressedInTheWindowTogglesItsCartOnce) {
  auto w = makeWindow();
  w->show();
  w->activateWindow();
  for (int i = 0; i < 50 && !w->isActiveWindow(); ++i) QCoreApplication::processEvents();
  ASSERT_TRUE(w->isActiveWindow());
  engine.media.add("/jingles/c.wav", test::FakeFile{{44100, 2}, 441000});
  ASSERT_TRUE(w->cart(2)->cart().SetTitle("/jingles/c.wav"));
  QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::ShiftModifier, "C");
  QCoreApplication::sendEvent(w->windowHandle(), &press);
  w->pollKeysForTest();
  EXPECT_TRUE(w->cart(2)->cart().Playing());
  w->pollKeysForTest();  // held or not, one press is one toggle
  EXPECT_TRUE(w->cart(2)->cart().Playing());
  // The keyboard repeating the held key, unflagged, does not toggle it.
  QKeyEvent repeat(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
  QCoreApplication::sendEvent(w->windowHandle(), &repeat);
  w->pollKeysForTest();
  EXPECT_TRUE(w->cart(2)->cart().Playing());
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_C, Qt::NoModifier, "c");
  release.setTimestamp(100);
  QCoreApplication::sendEvent(w->windowHandle(), &release);
  QKeyEvent again(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
  again.setTimestamp(300);
  QCoreApplication::sendEvent(w->windowHandle(), &again);
  w->pollKeysForTest();
  EXPECT_FALSE(w->cart(2)->cart().Playing());
}

TEST_F(WindowInputTest, ADragOverACartHighlightsItAloneAndADropClearsIt) {
  auto w = makeWindow();
  w->show();
  emit w->cart(3)->Survole();
  emit w->cart(5)->Survole();
  for (int k = 0; k < 26; ++k) {
    EXPECT_EQ(w->cart(k)->cart().look().background == cart::Background::Drag, k == 5) << k;
  }
  emit w->cart(5)->AffectFile();
  for (int k = 0; k < 26; ++k) {
    EXPECT_NE(w->cart(k)->cart().look().background, cart::Background::Drag) << k;
  }
}

TEST_F(WindowInputTest, AGapInTheDeviceNumbersSwitchesEveryCartToTheListedDevice) {
  // Devices 0 and 2 usable, current 2: two entries; 2 is clamped to entry 1,
  // which is device 2, so the selection switches everything to device 2.
  engine.devices.setDevices({{"Zero", true}, {"Broken", false}, {"Two", true}}, 2);
  auto w = makeWindow();
  QComboBox* list = w->controls().combo4;
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "Two");
  EXPECT_EQ(list->currentIndex(), 1);
  EXPECT_EQ(list->itemData(1).toInt(), 2);
  EXPECT_EQ(w->AudioPlayerMain()->CurrentDevice(), 2);
}

TEST_F(WindowInputTest, ChoosingAnotherDeviceStopsAPlayingCart) {
  engine.devices.setDevices({{"One", true}, {"Two", true}}, 0);
  auto w = makeWindow();
  engine.media.add("/jingles/a.wav", test::FakeFile{{44100, 2}, 441000});
  ASSERT_TRUE(w->cart(0)->cart().SetTitle("/jingles/a.wav"));
  w->cart(0)->cart().ListenMusic();
  ASSERT_TRUE(w->cart(0)->cart().Playing());
  w->controls().combo4->setCurrentIndex(0);  // the same device: nothing
  EXPECT_TRUE(w->cart(0)->cart().Playing());
  w->controls().combo4->setCurrentIndex(1);
  EXPECT_FALSE(w->cart(0)->cart().Playing());
  EXPECT_EQ(w->AudioPlayerMain()->CurrentDevice(), 1);
}

// A sound card that came back (an audio server restarted, a USB card plugged
// in again) is found when the operator opens the list.
TEST_F(WindowInputTest, OpeningTheDeviceListReadsTheDevicesAgain) {
  engine.devices.setDevices({{"One", true}}, 0);
  auto w = makeWindow();
  QComboBox* list = w->controls().combo4;
  ASSERT_EQ(list->count(), 1);
  engine.devices.setDevices({{"One", true}, {"USB card", true}}, 0);
  const int rescans = engine.devices.rescans();
  const QPointF centre = QRectF(list->rect()).center();
  QMouseEvent press(QEvent::MouseButtonPress, centre, list->mapToGlobal(centre), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(list, &press);
  list->hidePopup();
  EXPECT_EQ(engine.devices.rescans(), rescans + 1);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "USB card");
  EXPECT_EQ(list->currentIndex(), 0);
}

}  // namespace
}  // namespace quillon::app
