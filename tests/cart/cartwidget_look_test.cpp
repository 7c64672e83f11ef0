// The look of a cart in each state, checked by pixels at a few telling
// points: the title band's colour tells idle, playing, paused, drag and
// missing apart from across a room.
#include <array>
#include <cmath>
#include <map>

#include "cartwidgetfixture.h"

namespace quillon::cart::test {
namespace {

// A pixel of a grab, in the cart's logical pixels.
QColor pixel(const QImage& image, int x, int y) {
  const qreal dpr = image.devicePixelRatio();
  return image.pixelColor(static_cast<int>(x * dpr), static_cast<int>(y * dpr));
}

bool neutralLight(const QColor& c) {
  return c.lightness() > 170 && std::abs(c.red() - c.blue()) < 30 &&
         std::abs(c.red() - c.green()) < 30;
}
bool green(const QColor& c) { return c.green() > c.red() + 60 && c.green() > c.blue() + 50; }
bool amber(const QColor& c) {
  return c.red() > 110 && c.red() > c.green() + 25 && c.green() > c.blue() + 25;
}
bool blue(const QColor& c) { return c.blue() > c.red() + 60 && c.blue() > 150; }
bool red(const QColor& c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; }
bool nearWhite(const QColor& c) { return c.red() > 225 && c.green() > 225 && c.blue() > 225; }
bool nearBlack(const QColor& c) { return c.lightness() < 50; }
bool bright(const QColor& c) { return c.lightness() > 150; }

// How many pixels of an element's area match.
template <typename Test>
int countIn(const QImage& image, const QRect& area, Test test) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += test(pixel(image, x, y)) ? 1 : 0;
  }
  return n;
}

class CartLookTest : public CartWidgetTest {
 public:
  QRect areaOf(const char* name) const {
    QWidget* e = element(name);
    return {e->mapTo(&widget, QPoint(0, 0)), e->size()};
  }
  // Two corners of the title band that no short title reaches.
  std::array<QColor, 2> band() {
    const QImage image = shot();
    return {pixel(image, 6, 51), pixel(image, 164, 79)};
  }
};

TEST_F(CartLookTest, TheTitleBandAndTitleColourTellEachStateApart) {
  bindFile("/j/intro.mp3", 20);
  const QRect title = areaOf("Label1");
  // The band's colour test, and whether the title is drawn white (else black).
  const auto expectLook = [&](const char* state, bool (*colour)(const QColor&), bool whiteTitle) {
    for (const QColor& c : band()) EXPECT_TRUE(colour(c)) << state << " " << c.name().toStdString();
    EXPECT_GT(countIn(shot(), title, whiteTitle ? nearWhite : nearBlack), 20) << state;
  };
  expectLook("idle", neutralLight, false);
  clickOn("Image3");
  advance(1s);
  expectLook("playing", green, true);
  cart().SetSurvole();
  expectLook("drag over a playing cart", blue, false);
  cart().SetNormal();
  clickOn("Pausec");
  expectLook("paused", amber, true);
  cart().SetSurvole();  // a drag over a paused cart: the drag look wins
  expectLook("drag over a paused cart", blue, false);
  cart().SetNormal();
  clickOn("Stopc");
  expectLook("stopped", neutralLight, false);
}

TEST_F(CartLookTest, AMissingFileIsFramedInRedWithAWarningSignAndKeepsItsTitleColour) {
  cart().SetTitle("/j/gone.mp3");
  const QImage image = shot();
  EXPECT_TRUE(red(pixel(image, 2, 65)));    // the frame around the title band
  EXPECT_TRUE(red(pixel(image, 157, 69)));  // the warning sign at the title's end
  const QRect title = areaOf("Label1");
  EXPECT_GT(countIn(image, title, nearBlack), 20);  // the title is still black
  EXPECT_GT(countIn(image, title, red), 40);        // struck through in red

  addFile("/j/back.mp3", 4);
  cart().SetTitle("/j/back.mp3");
  EXPECT_FALSE(red(pixel(shot(), 2, 65)));
}

TEST_F(CartLookTest, TheTraceAndThumbMoveWhilePlayingAndClearAtTheStop) {
  bindFile("/j/bed.wav", 10);
  const QRect trace = areaOf("Picture6");
  EXPECT_EQ(countIn(shot(), trace, bright), 0);
  clickOn("Image3");
  advance(2500ms);
  EXPECT_GE(countIn(shot(), trace, bright), 60);  // a white line across the screen
  // The groove lit up to the thumb.
  const QColor lit = pixel(shot(), 90, 22);
  EXPECT_GT(lit.green(), lit.red() + 40);
  EXPECT_GT(lit.blue(), lit.red() + 40);

  clickOn("Stopc");
  EXPECT_EQ(countIn(shot(), trace, bright), 0);
  EXPECT_LT(pixel(shot(), 90, 22).lightness(), 40);
}

// Each light goes out once the pointer leaves for another element or for
// none.
TEST_F(CartLookTest, ButtonsLightUnderThePointerAndSwitchesTurnRed) {
  // Below the glyphs, inside the buttons' faces.
  const QPoint stop(150, 38);
  const QPoint pause(138, 38);
  EXPECT_LT(pixel(shot(), stop.x(), stop.y()).lightness(), 80);
  moveTo(centreOf("Stopc"));
  EXPECT_TRUE(red(pixel(shot(), stop.x(), stop.y())));
  moveTo(centreOf("Pausec"));
  EXPECT_TRUE(amber(pixel(shot(), pause.x(), pause.y())));
  EXPECT_LT(pixel(shot(), stop.x(), stop.y()).lightness(), 80);
  moveTo(centreOf("Picture9"));
  EXPECT_TRUE(cart().look().thumbLit);
  EXPECT_FALSE(cart().look().pauseLit);
  moveTo(kRestingPoint);
  EXPECT_FALSE(cart().look().thumbLit);

  // A switch that is off has the system's button text; on, it is red.
  const QRect fadeOut = areaOf("Label4");
  QPalette blueText = widget.palette();
  blueText.setColor(QPalette::ButtonText, QColor(0, 0, 200));
  widget.setPalette(blueText);
  EXPECT_GT(countIn(shot(), fadeOut, blue), 10);
  EXPECT_LT(countIn(shot(), fadeOut, nearBlack), 3);  // only the cart's rounded edge
  clickOn("Label4");
  EXPECT_GT(countIn(shot(), fadeOut, red), 10);
  EXPECT_EQ(countIn(shot(), fadeOut, blue), 0);
}

TEST_F(CartLookTest, TheEndWarningFramesTheCartInRedWhileLit) {
  cart().setEndWarning({true, 5});
  bindFile("/j/bed.wav", 10);
  clickOn("Image3");
  advance(5000ms);
  EXPECT_TRUE(red(pixel(shot(), 86, 1)));
  advance(250ms);  // the dark quarter second
  EXPECT_FALSE(red(pixel(shot(), 86, 1)));
}

// Counts the paint events each element gets.
class PaintCounter : public QObject {
 public:
  std::map<QString, int> counts;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++counts[watched->objectName()];
    return false;
  }
};

TEST_F(CartLookTest, ATickRepaintsTheRunningTimeAtOnceAndLeavesTheRestAlone) {
  bindFile("/j/bed.wav", 30);
  clickOn("Image3");
  advance(1100ms);
  QCoreApplication::processEvents();
  PaintCounter counter;
  for (QWidget* child : widget.findChildren<QWidget*>()) child->installEventFilter(&counter);

  advance(1000ms);  // the running time changes: repainted before the loop runs again
  EXPECT_GE(counter.counts["Label2"], 1);
  QCoreApplication::processEvents();
  EXPECT_GE(counter.counts["Picture6"], 1);
  // (The length overlaps the position track's top rows, so the thumb passing
  // under it repaints it too.)
  for (const char* still :
       {"Label1", "Label3", "Image3", "Picture5", "Label5", "Label6", "Label4", "Stopc"}) {
    EXPECT_EQ(counter.counts[still], 0) << still;
  }
}

}  // namespace
}  // namespace quillon::cart::test
