// The main window under the offscreen platform: its load step, its controls,
// scrolling, the panel bar's drag, the toolbar, closing, keys, drags and the
// device list. Where the panels and carts go is pinned, in twips, by the
// geometry's and the splitter's own tests.
#include "app/cartoucheur.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <map>

#include "about/shell.h"
#include "app/panels.h"
#include "app/statusbar1.h"
#include "app/toolbar1.h"
#include "clock/clockpanel.h"
#include "explorer/explorer.h"
#include "quietwindow.h"
#include "support/cartoucheurprobe.h"

namespace quillon::app {
namespace {

using Journal = std::vector<std::string>;

// Config.ini, the favourites and the desktop, each call noted in order.
struct Recorder : ConfigKeys, FavoritesSteps, about::Shell {
  std::string readKey(const std::string& section, const std::string& key) override {
    journal.push_back("read " + section + "/" + key);
    return keys[section + "/" + key];
  }
  void writeKey(const std::string& section, const std::string& key,
                const std::string& value) override {
    journal.push_back("write " + section + "/" + key + "=" + value);
    keys[section + "/" + key] = value;
  }
  void EmptyFavorites() override { journal.push_back("EmptyFavorites"); }
  void LoadFavorites() override { journal.push_back("LoadFavorites"); }
  void SaveFavorites() override { journal.push_back("SaveFavorites"); }
  bool ShellOpen(const QString& document, const QString&, const QString&) override {
    journal.push_back("ShellOpen " + document.toStdString());
    return true;
  }
  Journal journal;
  std::map<std::string, std::string> keys;
};

constexpr const char* kPage = "/usr/share/quillon/welcome.html";

class WindowTest : public testing::Test, public test::QuietWindow {
 protected:
  std::unique_ptr<Cartoucheur> makeWindow(const QString& page = kPage) {
    return std::make_unique<Cartoucheur>(
        engine, CartoucheurServices{services, services, services, page, [this] {
                                      ++programEnds;
                                      QCoreApplication::exit(0);
                                    }});
  }
  Recorder services;
  Journal& journal = services.journal;
  int programEnds = 0;
};

TEST_F(WindowTest, LoadStepRunsInItsOrderBeforeTheWindowShowsAtItsSmallestSize) {
  auto w = makeWindow();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "Quillon V1.0");
  EXPECT_EQ(CartoucheurProbe::loadStepsRun(*w),
            (std::vector<LoadStep>{LoadStep::EmptyFavorites, LoadStep::MinimumSize,
                                   LoadStep::FirstRun, LoadStep::LoadFavorites, LoadStep::Carts,
                                   LoadStep::ArrangeCarts, LoadStep::StudioClock,
                                   LoadStep::AudioPlayerMain, LoadStep::FillDeviceList}));
  EXPECT_EQ(journal,
            (Journal{"EmptyFavorites", "read FirstExec/Value", std::string("ShellOpen ") + kPage,
                     "write FirstExec/Value=1", "LoadFavorites"}));
  EXPECT_NE(w->AudioPlayerMain(), nullptr);
  // The clock was built at the panel's width: LED 0 shows, green.
  const clock::ClockPanel* clock = w->controls().clock;
  EXPECT_EQ(clock->panelWidthTwips(), 3855);
  EXPECT_TRUE(clock->ring().led(0).shown);
  // The smallest window until the frame is known: the initial client area;
  // then the outer minimum less the frame.
  EXPECT_EQ(CartoucheurProbe::minimumClientSize(*w), (PixelSize{804, 555}));
  EXPECT_EQ(w->size(), QSize(804, 555));
  w->show();
  const QMargins frame = w->windowHandle()->frameMargins();
  const QSize smallest(812 - frame.left() - frame.right(), 582 - frame.top() - frame.bottom());
  EXPECT_EQ(w->minimumSize(), smallest);
  w->resize(300, 200);
  EXPECT_EQ(w->size(), smallest);
}

TEST_F(WindowTest, TheFirstRunIsDoneOnceEvenWhenThePageIsMissing) {
  makeWindow();
  EXPECT_EQ(services.keys["FirstExec/Value"], "1");
  journal.clear();
  makeWindow();  // the next start
  EXPECT_EQ(journal, (Journal{"EmptyFavorites", "read FirstExec/Value", "LoadFavorites"}));

  services.keys.clear();
  journal.clear();
  makeWindow(QString());  // no welcome page: nothing opens
  EXPECT_EQ(journal, (Journal{"EmptyFavorites", "read FirstExec/Value", "write FirstExec/Value=1",
                              "LoadFavorites"}));
}

TEST_F(WindowTest, ControlsCarryTheirTextsAndTheCartsTheirLetters) {
  auto w = makeWindow();
  w->show();
  ASSERT_EQ(w->cartCount(), 26);
  QString letters;
  for (int k = 0; k < 26; ++k) {
    letters += QString::fromStdString(w->cart(k)->cart().Letter());
    EXPECT_TRUE(w->cart(k)->isVisible()) << k;
    EXPECT_EQ(w->cart(k)->parentWidget(), w->controls().cartCanvas) << k;
  }
  EXPECT_EQ(letters, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  const CartoucheurControls& c = w->controls();
  ASSERT_EQ(c.deviceList->count(), 1);  // the null device alone
  const std::pair<QString, QString> texts[] = {
      {c.explorerTitle->caption(), "Windows Explorer >"},
      {c.cartAreaTitle->caption(), "Jingles >"},
      {c.deviceCaption->text(), "- Device :"},
      {c.deviceList->itemText(0), "No sound card (silent output)"},
      {c.favouritesCaption->text(), "Favorite :"},
      {c.addFavourite->text(), "Add"},
      {c.addFavourite->toolTip(), "Add a jingle palette to your favorite"},
      {c.clearFavourites->text(), "Clear"},
      {c.clearFavourites->toolTip(), "Clear your favorite list"}};
  for (const auto& [shown, expected] : texts) EXPECT_EQ(shown, expected);
  QStringList status;
  for (const QLabel* label : c.statusBar->findChildren<QLabel*>()) status << label->text();
  EXPECT_TRUE(status.contains("Quillon V1.0"));
  // The toolbar's five commands, between separators.
  for (const auto& [position, text] :
       std::map<int, QString>{{1, "Quit"}, {3, "New"}, {5, "Open"}, {7, "Save"}, {9, "About"}}) {
    ASSERT_NE(c.toolbar->button(position), nullptr) << position;
    EXPECT_EQ(c.toolbar->button(position)->text(), text);
  }
  // Every panel the layout places has its widget; the title bars draw their
  // own pictures.
  for (int p = 0; p < kPanelCount; ++p) {
    const auto panel = static_cast<Panel>(p);
    const bool drawnByItsBar = panel == Panel::Image20 || panel == Panel::Image3;
    EXPECT_EQ(c.widgetOf(panel) == nullptr, drawnByItsBar) << p;
  }
}

// The range and step are pinned in twips by the geometry's tests; here, that
// the bar, the wheel and a resize reach the canvas.
TEST_F(WindowTest, TheScrollBarAndTheWheelMoveTheCanvas) {
  auto w = makeWindow();
  w->show();
  w->resize(1000, 600);
  QScrollBar* bar = w->controls().cartScrollBar;
  QWidget* canvas = w->controls().cartCanvas;
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(canvas->y(), -40);  // 600 twips
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(canvas->y() + canvas->height(), w->controls().cartViewport->height());

  bar->setValue(0);
  const QPointF at(10, 10);
  QWheelEvent wheel(at, w->controls().cartViewport->mapToGlobal(at), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w->controls().cartViewport, &wheel);
  EXPECT_GT(bar->value(), 0);
  EXPECT_EQ(w->geometry()[Panel::Picture5].top, -bar->value());

  // A window large enough for every row: nothing to scroll.
  w->resize(1280, 1200);
  EXPECT_EQ(bar->maximum(), 0);
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(canvas->y(), 0);
}

TEST_F(WindowTest, ThePanelBarIsBlackWhileDraggedAndItsReleaseLaysOutPanelsAndClock) {
  auto w = makeWindow();
  SplitterBar* bar = w->controls().splitter;
  const auto send = [bar](QEvent::Type type, double x, Qt::MouseButtons held) {
    const QPointF at(x, 5);
    QMouseEvent event(type, at, bar->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
  };
  EXPECT_EQ(bar->colour(), QColor(Qt::white));
  send(QEvent::MouseButtonPress, 2, Qt::LeftButton);
  EXPECT_EQ(bar->colour(), QColor(Qt::black));
  send(QEvent::MouseMove, 100, Qt::LeftButton);  // 3852 + 100 px x 15 = 5352 twips
  EXPECT_EQ(bar->x(), 357);
  send(QEvent::MouseButtonRelease, 100, Qt::NoButton);
  EXPECT_EQ(bar->colour(), w->palette().color(QPalette::Button));
  EXPECT_EQ(w->controls().cartViewport->x(), 361);  // 5412 twips
  const clock::ClockPanel* clock = w->controls().clock;
  EXPECT_EQ(clock->panelWidthTwips(), 5352);  // the clock built again for its new width
  EXPECT_EQ(clock->width(), 357);
  EXPECT_TRUE(clock->ring().led(0).shown);
}

TEST_F(WindowTest, NewStopsAndEmptiesEveryCartAndTouchesNothingElse) {
  auto w = makeWindow();
  loadCarts(*w);
  journal.clear();
  w->controls().toolbar->button(3)->click();
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
  loadCarts(*w);
  journal.clear();
  QTimer::singleShot(0, w.get(), [&] { w->controls().toolbar->button(1)->click(); });
  EXPECT_EQ(QApplication::exec(), 0);
  EXPECT_EQ(programEnds, 1);
  EXPECT_TRUE(allStopped(*w));
  w.reset();
  EXPECT_EQ(journal, (Journal{"SaveFavorites"}));  // the close handler did not run as well
}

TEST_F(WindowTest, ClosingTheWindowWritesTheFavorites) {
  auto w = makeWindow();
  w->show();
  loadCarts(*w);
  journal.clear();
  EXPECT_TRUE(w->close());
  EXPECT_EQ(journal, (Journal{"SaveFavorites"}));
  EXPECT_TRUE(untouched(*w));  // closing stops nothing by hand
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
  w->controls().toolbar->button(9)->click();
  EXPECT_EQ(modal, "Form1");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(WindowTest, ADragOverACartHighlightsItAloneAndADropClearsIt) {
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

TEST_F(WindowTest, AGapInTheDeviceNumbersSelectsTheCurrentDevicesOwnEntryAndStopsNothing) {
  // Devices 0 and 2 usable, current 2: two entries, device 2 in entry 1. The
  // device number must not be taken for a list position, or each opening of
  // the list would switch device and stop every playing cart.
  engine.devices.setDevices({{"Zero", true}, {"Broken", false}, {"Two", true}}, 2);
  auto w = makeWindow();
  QComboBox* list = w->controls().deviceList;
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "Two");
  EXPECT_EQ(list->currentIndex(), 1);
  EXPECT_EQ(list->itemData(1).toInt(), 2);
  EXPECT_EQ(w->AudioPlayerMain()->CurrentDevice(), 2);
  loadCarts(*w);
  openDeviceList(list);
  for (int k : kPlaying) EXPECT_TRUE(w->cart(k)->cart().Playing()) << k;
  EXPECT_EQ(list->currentIndex(), 1);
  EXPECT_EQ(w->AudioPlayerMain()->CurrentDevice(), 2);
}

// A sound card that came back (an audio server restarted, a USB card plugged
// in again) is found when the operator opens the list; choosing another
// device stops a playing cart.
TEST_F(WindowTest, OpeningTheDeviceListReadsTheDevicesAgainAndAChoiceStopsTheCarts) {
  engine.devices.setDevices({{"One", true}}, 0);
  auto w = makeWindow();
  QComboBox* list = w->controls().deviceList;
  ASSERT_EQ(list->count(), 1);
  engine.devices.setDevices({{"One", true}, {"USB card", true}}, 0);
  const int rescans = engine.devices.rescans();
  openDeviceList(list);
  EXPECT_EQ(engine.devices.rescans(), rescans + 1);
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(1), "USB card");
  EXPECT_EQ(list->currentIndex(), 0);

  loadCarts(*w);
  list->setCurrentIndex(1);
  for (int k : kPlaying) EXPECT_FALSE(w->cart(k)->cart().Playing()) << k;
  EXPECT_EQ(w->AudioPlayerMain()->CurrentDevice(), 1);
}

}  // namespace
}  // namespace quillon::app
