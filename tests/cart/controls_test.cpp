// The rules of the volume knob, the position thumb and the hover light, in
// twips, against the design's geometry.
#include <gtest/gtest.h>

#include "cart/positionthumb.h"
#include "cart/volumeknob.h"

namespace quillon::cart {
namespace {

TEST(VolumeKnob, StartsWhereTheDesignPutsItAndMovesOnlyWhilePressed) {
  VolumeKnob knob;
  EXPECT_FLOAT_EQ(knob.left(), 1120.0f);
  EXPECT_FALSE(knob.dragging());
  EXPECT_EQ(knob.move(300), std::nullopt);
  knob.press(20);
  knob.release();
  EXPECT_EQ(knob.move(300), std::nullopt);
  EXPECT_FLOAT_EQ(knob.left(), 1120.0f);
}

TEST(VolumeKnob, SetVolumePlacesTheKnobOnItsTravel) {
  const struct {
    int volume;
    float left;
  } cases[] = {{0, 0.0f}, {50, 562.5f}, {100, 1125.0f}, {1, 11.25f}, {99, 1113.75f}};
  for (const auto& c : cases) {
    VolumeKnob knob;
    knob.showVolume(c.volume);
    EXPECT_FLOAT_EQ(knob.left(), c.left) << c.volume;
  }
}

TEST(VolumeKnob, ALeftEdgeGivesTheVolumeToTheNearestWithHalvesToEven) {
  const struct {
    float left;
    int volume;
  } cases[] = {{0.0f, 0},      {5.625f, 0},      {16.875f, 2},  {562.5f, 50},
               {1113.75f, 99}, {1119.375f, 100}, {1125.0f, 100}};
  for (const auto& c : cases) {
    VolumeKnob knob;
    knob.showVolume(0);
    knob.press(0);
    EXPECT_EQ(knob.move(c.left), c.volume) << c.left;
    EXPECT_FLOAT_EQ(knob.left(), c.left);
  }
}

TEST(VolumeKnob, DragKeepsTheGrabbedPointUnderThePointerAndStopsAtTheEnds) {
  VolumeKnob knob;
  knob.showVolume(50);                       // left 562.5
  knob.press(75.4f);                         // grabbed at its middle: 75
  EXPECT_EQ(knob.move(75.0f + 112.5f), 60);  // moved 112.5 twips right
  EXPECT_FLOAT_EQ(knob.left(), 675.0f);
  EXPECT_EQ(knob.move(-5000), 0);
  EXPECT_FLOAT_EQ(knob.left(), 0.0f);
  EXPECT_EQ(knob.move(9000), 100);
  EXPECT_FLOAT_EQ(knob.left(), 1125.0f);
}

TEST(PositionThumb, ADragStartsOnlyOnAPlayingCart) {
  PositionThumb thumb;
  EXPECT_FALSE(thumb.press(10, false));
  EXPECT_FALSE(thumb.seeking());
  thumb.drag(500);
  EXPECT_FLOAT_EQ(thumb.left(), 0.0f);
  EXPECT_TRUE(thumb.press(10, true));
  EXPECT_TRUE(thumb.seeking());
}

TEST(PositionThumb, FollowsThePointerWithinTheTrack) {
  const struct {
    float pointer;
    float left;
  } cases[] = {{622.5f, 622.5f},
               {-300.0f, 0.0f},
               {5000.0f, 1245.0f},
               {1245.0f, 1245.0f},  // 1245 + 75 = 1320 still fits
               {1245.5f, 1245.0f}};
  for (const auto& c : cases) {
    PositionThumb thumb;
    thumb.press(0, true);
    thumb.drag(c.pointer);
    EXPECT_FLOAT_EQ(thumb.left(), c.left) << c.pointer;
  }
}

TEST(PositionThumb, ReleaseJumpsToThePercentShownButNeverToTheEnd) {
  const struct {
    float left;
    audio::FrameCount total;
    audio::FrameCount target;
  } cases[] = {
      {0.0f, 1000, 0},           {622.5f, 1000, 500}, {1245.0f, 1000, 990},  // the right end: 99 %
      {1245.0f, 441000, 436590}, {622.5f, 1001, 500},  // 500.5: to the even 500
      {622.5f, 1003, 502},                             // 501.5: to the even 502
  };
  for (const auto& c : cases) {
    PositionThumb thumb;
    thumb.press(0, true);
    thumb.drag(c.left);
    EXPECT_EQ(seekTarget(thumb.releasePercent(), c.total), c.target) << c.left << " of " << c.total;
  }
}

TEST(HoverLight, LitOnEntryAndOffOnceThePointerIsOutside) {
  // A 10 x 12 pixel button: 150 x 180 twips.
  const struct {
    float x, y;
    bool lit;
  } moves[] = {
      {75, 90, true},    // comes in
      {150, 180, true},  // on the far edges: still inside
      {151, 90, false},  // out to the right
      {140, 90, true},   // in again
      {40, -1, false},   // out at the top
      {40, 10, true},   {-1, 10, false}, {20, 20, true}, {20, 181, false},
  };
  HoverLight light;
  for (const auto& m : moves) {
    light.pointerMoved(m.x, m.y, 150, 180);
    EXPECT_EQ(light.lit(), m.lit) << m.x << "," << m.y;
  }
}

}  // namespace
}  // namespace quillon::cart
