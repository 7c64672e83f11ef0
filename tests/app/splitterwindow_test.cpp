// Dragging Picture4 in the real window (offscreen, 96 dpi): the bar's
// colours, the panels laid out on release, and the clock rebuilt for its
// panel's new width.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include "about/shell.h"
#include "app/cartoucheur.h"
#include "app/configkeys.h"
#include "app/favoritesstandin.h"
#include "app/panels.h"
#include "clock/clockpanel.h"
#include "explorer/explorer.h"
#include "support/fakeengine.h"

namespace quillon::app {
namespace {

struct NoConfig : ConfigKeys {
  std::string readKey(const std::string&, const std::string&) override { return "1"; }
  void writeKey(const std::string&, const std::string&, const std::string&) override {}
};

struct NoShell : about::Shell {
  bool ShellOpen(const QString&, const QString&, const QString&) override { return true; }
};

void send(QWidget* bar, QEvent::Type type, double x, Qt::MouseButtons held) {
  const QPointF at(x, 5);
  QMouseEvent event(type, at, bar->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(bar, &event);
}

class SplitterWindow : public testing::Test {
 protected:
  void drag(double fromX, double toX) {
    SplitterBar* bar = w.controls().picture4;
    send(bar, QEvent::MouseButtonPress, fromX, Qt::LeftButton);
    send(bar, QEvent::MouseMove, toX, Qt::LeftButton);
    send(bar, QEvent::MouseButtonRelease, toX, Qt::NoButton);
  }

  test::FakeEngine engine;
  NoConfig config;
  FavoritesStandIn favorites;
  NoShell shell;
  Cartoucheur w{engine, CartoucheurServices{config, favorites, shell, {}, [] {}}};
};

TEST_F(SplitterWindow, BarIsWhiteThenBlackWhileHeldThenButtonFace) {
  SplitterBar* bar = w.controls().picture4;
  EXPECT_EQ(bar->colour(), QColor(Qt::white));
  send(bar, QEvent::MouseButtonPress, 2, Qt::LeftButton);
  EXPECT_EQ(bar->colour(), QColor(Qt::black));
  send(bar, QEvent::MouseMove, 40, Qt::LeftButton);
  // Only the bar has moved: 3852 + 40 px x 15 twips = 4452 twips, 297 px.
  EXPECT_EQ(bar->x(), 297);
  EXPECT_EQ(w.controls().picture1->x(), 260);  // 3901 twips
  send(bar, QEvent::MouseButtonRelease, 40, Qt::NoButton);
  EXPECT_EQ(bar->colour(), w.palette().color(QPalette::Button));
}

TEST_F(SplitterWindow, ReleaseLaysOutThePanelsAndRebuildsTheClock) {
  const clock::ClockPanel* clock = w.controls().picture2;
  const float ledBefore = clock::LedRing::position(0, clock->panelWidthTwips()).left;
  drag(2, 100);  // 3852 + 1500 twips
  EXPECT_EQ(w.geometry()[Panel::Picture4].left, 5352);
  EXPECT_EQ(clock->panelWidthTwips(), 5352);
  EXPECT_EQ(clock->width(), 357);  // 5352 twips at 96 dpi
  EXPECT_EQ(w.controls().explorer1->width(), 357);
  EXPECT_EQ(w.controls().picture1->x(), 361);  // 5412 twips
  EXPECT_EQ(clock::LedRing::position(0, clock->panelWidthTwips()).left,
            ledBefore + (5352 - 3855) / 2.0f);  // the ring centred anew
  EXPECT_TRUE(clock->ring().led(0).shown);
  // The carts follow the viewport: 12060 - 5412 - 360 = 6288, two in a row.
  EXPECT_EQ(w.cart(1)->y(), w.cart(0)->y());
  EXPECT_GT(w.cart(2)->y(), w.cart(0)->y());
}

}  // namespace
}  // namespace quillon::app
