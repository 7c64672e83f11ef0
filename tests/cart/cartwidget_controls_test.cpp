// The cart's controls through the window, as a pointer would use them:
// each click reaches its operation, and the knob and the thumb hold the
// pointer while pressed. The knob's and thumb's arithmetic is pinned in rules_test.cpp.
#include <QCursor>

#include "cartwidgetfixture.h"

namespace quillon::cart::test {
namespace {

using CartWidgetControls = CartWidgetTest;

TEST_F(CartWidgetControls, ElementsStandWhereTheDesignPutsThemWithItsTooltipsAndPointers) {
  ASSERT_EQ(widget.logicalDpiX(), 96);
  EXPECT_EQ(widget.objectName(), "Cartouche");
  EXPECT_EQ(widget.size(), QSize(172, 113));  // 2580 x 1695 twips
  const struct {
    const char* name;
    QRect rect;  // in the parent's pixels
  } elements[] = {
      {"Label1", {2, 48, 165, 33}},  {"Label7", {80, 4, 33, 17}},
      {"Label2", {128, 4, 33, 17}},  {"Label3", {8, 85, 17, 25}},
      {"Picture6", {8, 4, 65, 37}},  {"Image3", {24, 85, 18, 22}},
      {"Pausec", {136, 28, 10, 12}}, {"Stopc", {148, 28, 10, 12}},
      {"Label6", {128, 85, 41, 12}}, {"Label5", {109, 27, 25, 17}},
      {"Label4", {128, 96, 41, 12}}, {"Picture5", {40, 89, 85, 17}},
      {"Picture8", {73, 18, 88, 9}}, {"Picture9", {0, 0, 5, 9}},
      {"Image14", {75, 0, 10, 16}},  // the knob at the 1120 twips of the design
  };
  for (const auto& e : elements) EXPECT_EQ(element(e.name)->geometry(), e.rect) << e.name;
  EXPECT_EQ(element("Label6")->toolTip(), "3 seconds");
  EXPECT_EQ(element("Label4")->toolTip(), "3 seconds");
  EXPECT_EQ(element("Label5")->toolTip(), "");
  EXPECT_EQ(element("Image14")->toolTip(), "Volume= 100");
  for (const char* name :
       {"Image3", "Pausec", "Stopc", "Label6", "Label5", "Label4", "Image14", "Picture9"}) {
    EXPECT_EQ(element(name)->cursor().shape(), Qt::PointingHandCursor) << name;
  }
}

TEST_F(CartWidgetControls, EachLeftClickReachesItsOperation) {
  clickOn("Image3");  // empty cart: nothing
  EXPECT_FALSE(cart().Playing());
  bindFile("/jingles/bed.wav", 20);
  clickOn("Image3");
  EXPECT_TRUE(cart().Playing());
  clickOn("Pausec");
  EXPECT_TRUE(cart().Paused());
  clickOn("Pausec");
  EXPECT_FALSE(cart().Paused());
  for (const char* label : {"Label5", "Label6", "Label4"}) clickOn(label);
  EXPECT_TRUE(cart().LoopOn() && cart().FadeInOn() && cart().FadeOutOn());
  clickOn("Stopc");
  EXPECT_FALSE(cart().Playing());

  // Only a left press and release over a control is a click.
  const QPoint play = centreOf("Image3");
  moveTo(play);
  press(Qt::LeftButton, play);
  moveTo(kRestingPoint);
  release(Qt::LeftButton, kRestingPoint);
  EXPECT_FALSE(cart().Playing());

  const QPoint loop = centreOf("Label5");
  moveTo(loop);
  press(Qt::RightButton, loop);
  release(Qt::RightButton, loop);
  EXPECT_TRUE(cart().LoopOn());
  // Both buttons down over play, then both up: one start, not two.
  moveTo(play);
  press(Qt::LeftButton, play);
  press(Qt::RightButton, play);
  release(Qt::RightButton, play);
  release(Qt::LeftButton, play);
  EXPECT_TRUE(cart().Playing());
  EXPECT_EQ(engine.media.readerOpens, 2);
}

TEST_F(CartWidgetControls, TheKnobHoldsThePointerForAnyButtonAndFollowsItInPixels) {
  QWidget* knob = element("Image14");
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
    SCOPED_TRACE(button);
    cart().SetVolume(100);
    const QPoint grab = centreOf("Image14");
    moveTo(grab);
    press(button, grab);
    EXPECT_EQ(QWidget::mouseGrabber(), knob);
    // 15 pixels left of where it was grabbed, and out of the cart.
    moveTo({grab.x() - 15, grab.y() + 80});
    EXPECT_EQ(cart().Volume(), 80);  // 900 of 1125 twips
    EXPECT_EQ(knob->x(), 60);
    EXPECT_EQ(knob->toolTip(), "Volume= 80");
    release(button, {grab.x() - 15, grab.y()});
    EXPECT_FALSE(cart().DraggingVolume());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    moveTo({grab.x() - 60, grab.y()});  // no button held: nothing moves
    EXPECT_EQ(cart().Volume(), 80);
  }
}

TEST_F(CartWidgetControls, TheThumbIsHeldOnItsTrackAndJumpsAtTheRelease) {
  bindFile("/jingles/long.wav", 100);
  clickOn("Image3");
  QWidget* thumb = element("Picture9");
  const QPoint grab = centreOf("Picture9");
  moveTo(grab);
  press(Qt::LeftButton, grab);
  EXPECT_EQ(QWidget::mouseGrabber(), thumb);
  // Far below and right of the track: reported as kept on it, so the thumb
  // goes to the end of its travel, and is found under the pointer again.
  moveTo({grab.x() + 500, grab.y() + 120});
  EXPECT_EQ(thumb->x(), 83);  // 1320 less the thumb's 75 twips
  moveTo({grab.x() + 520, grab.y() + 140});
  EXPECT_TRUE(cart().look().thumbLit);
  release(Qt::LeftButton, {grab.x() + 500, grab.y() + 120});
  EXPECT_FALSE(cart().Seeking());
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_EQ(cart().SampleOffset(), 4365900);  // the right end: 99 % of 4410000
}

TEST_F(CartWidgetControls, TheThumbHeldWhileTheFileEndsGoesBackToTheStart) {
  bindFile("/jingles/sting.wav", 3);
  clickOn("Image3");
  advance(500ms);
  QWidget* thumb = element("Picture9");
  const QPoint grab = centreOf("Picture9");
  moveTo(grab);
  press(Qt::LeftButton, grab);
  moveTo({grab.x() + 30, grab.y()});
  EXPECT_GT(thumb->x(), 20);
  advance(4s);  // the file plays out while the thumb is held
  EXPECT_FALSE(cart().Playing());
  EXPECT_EQ(QWidget::mouseGrabber(), thumb);

  release(Qt::LeftButton, {grab.x() + 30, grab.y()});
  EXPECT_FALSE(cart().Seeking());
  EXPECT_EQ(thumb->x(), 0);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  EXPECT_FALSE(cart().Playing());  // the release starts nothing
  // Pressed again on the idle cart, it holds nothing.
  const QPoint idle = centreOf("Picture9");
  moveTo(idle);
  press(Qt::LeftButton, idle);
  EXPECT_NE(QWidget::mouseGrabber(), thumb);
  release(Qt::LeftButton, idle);
}

}  // namespace
}  // namespace quillon::cart::test
