// The window's geometry against hand-computed numbers: the panels after a
// resize, the grid's flow at exact fits, the canvas height and the scroll
// range.
#include "app/windowgeometry.h"

#include <gtest/gtest.h>

#include <set>

namespace quillon::app {
namespace {

constexpr float kCartPitch = 2610;  // 30 + cart width
constexpr float kRowPitch = 1755;   // cart height + 60

int rowsOf(const WindowGeometry& g) {
  std::set<float> tops;
  for (int k = 0; k < WindowGeometry::kCartCount; ++k) tops.insert(g.cart(k).top);
  return static_cast<int>(tops.size());
}

int cartsInFirstRow(const WindowGeometry& g) {
  int n = 0;
  while (n < WindowGeometry::kCartCount && g.cart(n).top == g.cart(0).top) ++n;
  return n;
}

class InitialSize : public testing::Test {
 protected:
  void SetUp() override { g.resizeWindow(12060, 8325); }
  WindowGeometry g;
};

TEST_F(InitialSize, PanelsFollowTheWindow) {
  EXPECT_EQ(g[Panel::Picture2].top, 4710);
  EXPECT_EQ(g[Panel::Picture1].height, 6795);
  EXPECT_EQ(g[Panel::Picture1].width, 8159);
  EXPECT_EQ(g[Panel::Picture3].width, 8159);
  EXPECT_EQ(g[Panel::Explorer1].height, 3660);
  EXPECT_EQ(g[Panel::Picture6].left, 6545);
  EXPECT_EQ(g[Panel::Picture4].height, 7845);
  EXPECT_EQ(g[Panel::Toolbar1].width, 12060);
  EXPECT_EQ(g[Panel::StatusBar1].top, 7845);
  // The viewport's own handler: canvas, scroll bar.
  EXPECT_EQ(g[Panel::Picture5].width, 7799);
  EXPECT_EQ(g[Panel::VScroll1].left, 7784);
  EXPECT_EQ(g[Panel::VScroll1].height, 6715);
  // The cart area's title bar: picture, list, caption ending where the list begins.
  EXPECT_EQ(g[Panel::Image3].width, 8159);
  EXPECT_EQ(g[Panel::Combo4].left, 4409);
  EXPECT_EQ(g[Panel::Label54].left, 3359);
  EXPECT_EQ(g[Panel::Label54].right(), g[Panel::Combo4].left);
}

TEST_F(InitialSize, TwoCartsPerRowInThirteenRows) {
  EXPECT_EQ(cartsInFirstRow(g), 2);
  EXPECT_EQ(rowsOf(g), 13);
  EXPECT_EQ(g[Panel::Picture5].height, 22845);
  EXPECT_EQ(g.cart(0).top, 30);
  EXPECT_EQ(g.cart(1).left, 2640);
  EXPECT_EQ(g.cart(2).top, 1785);
  EXPECT_EQ(g.cart(25).left, 2640);
  EXPECT_EQ(g.cart(25).top, 21090);
}

TEST_F(InitialSize, ScrollBarRunsFromZeroDownToTheHeightDifference) {
  const ScrollBarState& bar = g.VScroll1();
  EXPECT_EQ(bar.value, 0);
  EXPECT_EQ(bar.minimum, 0);
  EXPECT_EQ(bar.maximum, 6795 - 22845);
  EXPECT_EQ(bar.smallChange, 600);
  EXPECT_EQ(bar.largeChange, 600);

  g.onScroll(-600);
  EXPECT_EQ(g[Panel::Picture5].top, -600);
  g.onScroll(-16050);  // the bottom: canvas bottom on viewport bottom
  EXPECT_EQ(g[Panel::Picture5].bottom(), g[Panel::Picture1].height);
  g.onScroll(-99999);  // held at the range's ends
  EXPECT_EQ(g.VScroll1().value, -16050);
  g.onScroll(40);
  EXPECT_EQ(g.VScroll1().value, 0);
}

TEST_F(InitialSize, AnotherWindowSizeScrollsBackToTheTop) {
  g.onScroll(-5000);
  g.resizeWindow(19200, 12000);  // maximised on a 1280 x 800 screen
  EXPECT_EQ(g[Panel::Picture5].top, 0);
  EXPECT_EQ(g.VScroll1().value, 0);
  g.onScroll(-90);
  g.resizeWindow(12060, 8325);  // restored
  EXPECT_EQ(g[Panel::Picture5].top, 0);
  EXPECT_EQ(g.VScroll1().value, 0);
}

TEST_F(InitialSize, LeftColumnKeepsItsWidthAndFollowsTheHeight) {
  g.resizeWindow(19200, 12000);
  for (Panel p : {Panel::BarExplorer, Panel::Explorer1, Panel::Picture2}) {
    EXPECT_EQ(g[p].width, 3855);
  }
  EXPECT_EQ(g[Panel::Picture4].left, 3852);
  EXPECT_EQ(g[Panel::Picture1].left, 3901);
  EXPECT_EQ(g[Panel::Explorer1].height, 7335);
  EXPECT_EQ(g[Panel::Picture2].top, 8385);
  // 1280 x 800: five carts per row, six rows, 90 twips to scroll.
  EXPECT_EQ(cartsInFirstRow(g), 5);
  EXPECT_EQ(g[Panel::Picture5].height, 10560);
  EXPECT_EQ(g.VScroll1().maximum, -90);
}

TEST_F(InitialSize, ANegativeSizeIsRefusedAndTheResizeGoesOnPastIt) {
  const TwipsRect canvas = g[Panel::Picture5];
  EXPECT_FALSE(g.setWidth(Panel::Picture1, -10));
  EXPECT_EQ(g[Panel::Picture1].width, 8159);
  EXPECT_EQ(g[Panel::Picture5], canvas);  // nothing laid out
  g.resizeWindow(12060, 1000);            // the viewport's and explorer's heights would be negative
  EXPECT_EQ(g[Panel::Picture1].height, 6795);
  EXPECT_EQ(g[Panel::Explorer1].height, 3660);
  EXPECT_EQ(g[Panel::Picture2].top, -2615);
  EXPECT_EQ(g[Panel::Picture4].height, 520);
  EXPECT_EQ(g[Panel::Picture6].left, 6545);
}

TEST_F(InitialSize, TitleBarsCarryTheirPicturesAndTheDeviceList) {
  g.setWidth(Panel::Picture3, 10000);
  EXPECT_EQ(g[Panel::Image3].width, 10000);
  EXPECT_EQ(g[Panel::Combo4].left, 6250);
  EXPECT_EQ(g[Panel::Label54].left, 5200);
  g.setWidth(Panel::BarExplorer, 5000);
  EXPECT_EQ(g[Panel::Image20].width, 5000);
}

TEST_F(InitialSize, TheLayoutUsesCartZerosSizeAsItIsWhenItRuns) {
  g.setCartSize(3000, 2000);
  g.ArrangeCarts();
  EXPECT_EQ(cartsInFirstRow(g), 2);
  EXPECT_EQ(g.cart(1).left, 3060);
  EXPECT_EQ(g[Panel::Picture5].height, 30 + 13 * 2060);
}

// Canvas width exactly n carts: n per row, rows of 26 / n rounded up; one
// twip less holds one fewer.
TEST(ExactFit, HoldsNCartsAndOneTwipLessHoldsOneFewer) {
  const struct {
    int perRow, rows;
    float canvasHeight;
  } cases[] = {{1, 26, 45660}, {2, 13, 22845}, {3, 9, 15825}, {4, 7, 12315}, {5, 6, 10560},
               {6, 5, 8805},   {7, 4, 7050},   {9, 3, 5295},  {13, 2, 3540}, {26, 1, 1785}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.perRow);
    WindowGeometry g;
    g.setWidth(Panel::Picture1, c.perRow * kCartPitch + 360);
    EXPECT_EQ(g[Panel::Picture5].width, c.perRow * kCartPitch);
    EXPECT_EQ(cartsInFirstRow(g), c.perRow);
    EXPECT_EQ(rowsOf(g), c.rows);
    EXPECT_EQ(g[Panel::Picture5].height, c.canvasHeight);
    g.setWidth(Panel::Picture1, c.perRow * kCartPitch + 360 - 1);
    if (c.perRow > 1) {
      EXPECT_EQ(cartsInFirstRow(g), c.perRow - 1);
    }
  }
}

TEST(NarrowCanvas, EveryCartStartsARowTheFirstOneIncluded) {
  WindowGeometry g;
  g.setWidth(Panel::Picture1, 2900);  // canvas 2540: less than one cart and its margin
  EXPECT_EQ(g.cart(0).left, 30);
  EXPECT_EQ(g.cart(0).top, 1785);
  EXPECT_EQ(g.cart(1).top, 1785 + kRowPitch);
  EXPECT_EQ(g.cart(25).top, 45660);
  EXPECT_EQ(g[Panel::Picture5].height, 47415);
}

TEST(ScrollRange, AroundEqualHeightsOfCanvasAndViewport) {
  const struct {
    float windowHeight;
    int maximum;
    float topAfterScrollingToIt;
  } cases[] = {
      {22845 + 1530, 0, 0},   // viewport as high as the canvas
      {22845 + 1531, 1, 0},   // a canvas one twip lower: 0 to 1, and it never moves
      {22845 + 1529, -1, -1}  // one twip higher: scrolls one twip
  };
  for (const auto& c : cases) {
    WindowGeometry g;
    g.resizeWindow(12060, c.windowHeight);
    EXPECT_EQ(g.VScroll1().minimum, 0) << c.windowHeight;
    EXPECT_EQ(g.VScroll1().maximum, c.maximum) << c.windowHeight;
    g.onScroll(c.maximum);
    EXPECT_EQ(g.VScroll1().value, c.maximum) << c.windowHeight;
    EXPECT_EQ(g[Panel::Picture5].top, c.topAfterScrollingToIt) << c.windowHeight;
  }
}

}  // namespace
}  // namespace quillon::app
