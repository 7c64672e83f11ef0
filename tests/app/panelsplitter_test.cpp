// Picture4's drag over the window's geometry at the initial size (12060 x
// 8325 twips): bar at 3852, viewport from 3901, cart 2580 twips wide.
#include "app/panelsplitter.h"

#include <gtest/gtest.h>

namespace quillon::app {
namespace {

class Splitter : public testing::Test {
 protected:
  void SetUp() override { g.resizeWindow(12060, 8325); }
  void drag(float x) {
    s.press();
    s.move(x);
    s.release();
  }
  float left(Panel p) const { return g[p].left; }
  float width(Panel p) const { return g[p].width; }

  WindowGeometry g;
  PanelSplitter s{g};
};

TEST_F(Splitter, WhileHeldTheBarIsBlackAndMovesAlone) {
  EXPECT_EQ(s.colour(), PanelSplitter::Colour::White);
  s.move(500);  // no press: nothing
  EXPECT_EQ(left(Panel::Picture4), 3852);
  s.press();
  EXPECT_EQ(s.colour(), PanelSplitter::Colour::Black);
  EXPECT_TRUE(s.SplitterDragging());
  s.move(0);  // a report at the bar's own edge changes nothing
  EXPECT_EQ(left(Panel::Picture4), 3852);
  s.move(500);
  s.move(-100);
  EXPECT_EQ(left(Panel::Picture4), 4252);
  EXPECT_EQ(width(Panel::Explorer1), 3855);
  EXPECT_EQ(left(Panel::Picture1), 3901);
  s.release();
  EXPECT_EQ(s.colour(), PanelSplitter::Colour::ButtonFace);
  EXPECT_FALSE(s.SplitterDragging());
}

TEST_F(Splitter, AClickWithoutAMoveLaysThePanelsOutFromTheBar) {
  drag(0);
  EXPECT_EQ(width(Panel::Explorer1), 3852);
  EXPECT_EQ(width(Panel::Picture2), 3852);
  EXPECT_EQ(width(Panel::BarExplorer), 3852);
  EXPECT_EQ(width(Panel::Image20), 3852);
  EXPECT_EQ(left(Panel::Picture1), 3912);  // the bar's 40 and a gap of 20
  EXPECT_EQ(left(Panel::Picture3), 3912);
  EXPECT_EQ(width(Panel::Picture1), 12060 - 3912);
  EXPECT_EQ(width(Panel::Picture3), 12060 - 3912);
  EXPECT_EQ(width(Panel::Image3), 12060 - 3912);
}

TEST_F(Splitter, FarLeftStopsAtTheLowerLimit) {
  drag(-3000);
  EXPECT_EQ(left(Panel::Picture4), 3375);
  EXPECT_EQ(width(Panel::Explorer1), 3375);
  EXPECT_EQ(left(Panel::Picture1), 3435);
  // Canvas 12060 - 3435 - 360 = 8265: three carts of 2610 fit in a row.
  EXPECT_EQ(g.cart(2).top, 30);
  EXPECT_EQ(g.cart(3).top, 30 + 1695 + 60);
}

TEST_F(Splitter, FarRightLeavesOneCartPerRowAndEveryCartReachable) {
  EXPECT_EQ(s.upperLimit(), 12060 - (2580 + 450));
  drag(20000);
  EXPECT_EQ(left(Panel::Picture4), 9030);
  EXPECT_EQ(width(Panel::Picture1), 2580 + 390);
  EXPECT_EQ(width(Panel::Picture5), 2580 + 30);
  // One cart a row (the grid's own test pins its flow), and the range
  // recomputed down to the last cart.
  g.onScroll(g.VScroll1().maximum);
  EXPECT_EQ(g[Panel::Picture5].top + g.cart(25).top + 1695 + 60, 6795);
}

TEST_F(Splitter, ReleaseScrollsBackToTheTop) {
  g.onScroll(-3000);
  ASSERT_EQ(g[Panel::Picture5].top, -3000);
  drag(100);
  EXPECT_EQ(g[Panel::Picture5].top, 0);
  EXPECT_EQ(g.VScroll1().value, 0);
}

TEST_F(Splitter, OnAWindowNarrowerThanBothLimitsTheUpperOneWinsUntilRelease) {
  g.resizeWindow(5000, 8325);  // upper limit 5000 - 3030 = 1970
  s.press();
  s.move(-500);
  EXPECT_EQ(left(Panel::Picture4), 1970);
  s.release();  // the release applies the lower limit again
  EXPECT_EQ(left(Panel::Picture4), 3375);
  EXPECT_EQ(width(Panel::Explorer1), 3375);
}

TEST_F(Splitter, AWindowResizeKeepsTheLeftColumnWhereTheBarLeftIt) {
  drag(20000);  // bar at 9030
  g.resizeWindow(19200, 12000);
  EXPECT_EQ(width(Panel::Explorer1), 9030);
  EXPECT_EQ(left(Panel::Picture1), 9090);
  EXPECT_EQ(width(Panel::Picture1), 19200 - 9090);
  // Narrower than the bar's place: the viewport keeps its width, off the
  // window, until the window is wide enough again.
  g.resizeWindow(9000, 8325);
  EXPECT_EQ(width(Panel::Picture1), 19200 - 9090);
  g.resizeWindow(12060, 8325);
  EXPECT_EQ(width(Panel::Picture1), 2970);
}

}  // namespace
}  // namespace quillon::app
