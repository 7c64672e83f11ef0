// The cart's plain rules against hand calculation and the design's
// figures: the values it shows, and the volume knob, position thumb and hover
// light in twips. The fades' rules: loopsfades_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "cart/cartgeometry.h"
#include "cart/cartpaths.h"
#include "cart/displayvalues.h"
#include "cart/positionthumb.h"
#include "cart/volumeknob.h"

namespace quillon::cart {
namespace {

TEST(RunningTime, MinutesAndSecondsRoundedDownWithAtLeastTwoDigits) {
  const std::pair<std::int64_t, const char*> table[] = {
      {0, "00:00"},      {999, "00:00"},      {59999, "00:59"},   {60000, "01:00"},
      {754321, "12:34"}, {6000000, "100:00"}, {5999999, "99:59"}, {-40, "00:00"}};
  for (const auto& [in, out] : table) EXPECT_EQ(runningTimeText(in), out) << in;
}

TEST(LengthDisplay, SecondsRoundedToNearestWithHalvesToEven) {
  const std::pair<std::int64_t, const char*> table[] = {
      {125500, "02:06"}, {124500, "02:04"}, {600000, "10:00"}, {0, "00:00"},
      {59500, "01:00"},  {58500, "00:58"},  {499, "00:00"},    {6000000, "100:00"}};
  for (const auto& [in, out] : table) EXPECT_EQ(lengthText(in), out) << in;
}

TEST(LengthSeconds, MillisecondsRoundedThenSecondsRounded) {
  const struct {
    audio::FrameCount frames;
    int rate;
    std::int64_t seconds;
  } cases[] = {
      {110250, 44100, 2},   // 2500 ms: 2.5 goes to 2
      {463050, 44100, 10},  // 10.5 s: to the even 10
      {507150, 44100, 12},  // 11.5 s: to the even 12
      {22072, 44100, 0},    // 500.499 ms is 500 ms first, then 0.5 s: 0
      {72000, 48000, 2},    // 1.5 s
      {1000, 0, 0},         // no rate: no length
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lengthSecondsOf(c.frames, c.rate), c.seconds) << c.frames << " at " << c.rate;
  }
}

TEST(Trace, SampleToHeightOnTheThirtyTwoUnitScaleAndSilenceOnTheMiddle) {
  const std::pair<int, int> table[] = {{0, 16},    {32767, 0},  {-32768, 32}, {-32665, 32},
                                       {1021, 15}, {-1021, 17}, {16384, 8},   {-16384, 24},
                                       {32667, 0}, {1020, 16}};
  for (const auto& [in, out] : table) EXPECT_EQ(traceY(in), out) << in;
  const std::vector<std::int16_t> silence(geometry::kTracePoints, 0);
  EXPECT_EQ(tracePoints(silence), std::vector<int>(geometry::kTracePoints, 16));
  EXPECT_TRUE(tracePoints({}).empty());
}

TEST(ThumbPlace, FollowsTheFractionPlayedAndStopsAtTheRightEnd) {
  EXPECT_FLOAT_EQ(geometry::thumbInnerWidth(), 75.0f);
  EXPECT_FLOAT_EQ(geometry::thumbTravel(), 1245.0f);
  const struct {
    audio::FrameCount elapsed;
    audio::FrameCount total;
    float left;
  } cases[] = {
      {0, 1000, 0.0f},       {500, 1000, 622.5f},
      {1000, 1000, 1245.0f}, {1300, 1000, 1245.0f},  // past the end: capped
      {100, 0, 0.0f},
  };
  for (const auto& c : cases) EXPECT_FLOAT_EQ(thumbLeftFor(c.elapsed, c.total), c.left);
}

TEST(Titles, TextAfterTheLastSlashElseTheLastBackslash) {
  const std::pair<const char*, const char*> table[] = {
      {"C:\\Jingles\\intro.mp3", "intro.mp3"},
      {"/home/studio/jingles/intro.mp3", "intro.mp3"},
      {"intro.mp3", "intro.mp3"},
      {"/music/odd\\name.mp3", "odd\\name.mp3"},  // a backslash in a Unix name
      {"D:\\loops\\bassmp3", "bassmp3"},
      {"folder/", ""},
      {"", ""}};
  for (const auto& [in, out] : table) EXPECT_EQ(titleOf(in), out) << in;
}

TEST(DropRule, LastThreeCharactersUpperCased) {
  for (const char* accepted :
       {"C:\\Jingles\\intro.Mp3", "a.wav", "c.ogg", "/x/y.WMA", "D:\\loops\\bassmp3", "mp3"}) {
    EXPECT_TRUE(isAcceptedAudioPath(accepted)) << accepted;
  }
  for (const char* refused : {"b.doc", "notes.txt", "song.mp4", "a.flac", "p3", ""}) {
    EXPECT_FALSE(isAcceptedAudioPath(refused)) << refused;
  }
}

// --- Knob, thumb and hover light ---

TEST(VolumeKnob, PlacedByTheVolumeAndMovedOnlyWhilePressed) {
  VolumeKnob knob;
  EXPECT_FLOAT_EQ(knob.left(), 1120.0f);  // where the design puts it, not at 1125
  EXPECT_EQ(knob.move(300), std::nullopt);
  knob.press(20);
  knob.release();
  EXPECT_EQ(knob.move(300), std::nullopt);
  EXPECT_FLOAT_EQ(knob.left(), 1120.0f);
  const std::pair<int, float> table[] = {{0, 0.0f}, {50, 562.5f}, {1, 11.25f}, {99, 1113.75f}};
  for (const auto& [volume, left] : table) {
    knob.showVolume(volume);
    EXPECT_FLOAT_EQ(knob.left(), left) << volume;
  }
}

TEST(VolumeKnob, ADragGivesTheVolumeOfTheLeftEdgeToTheNearestWithHalvesToEven) {
  const std::pair<float, int> table[] = {{5.625f, 0},    {16.875f, 2},     {562.5f, 50},
                                         {1113.75f, 99}, {1119.375f, 100}, {1125.0f, 100},
                                         {-5000.0f, 0},  {9000.0f, 100}};
  for (const auto& [left, volume] : table) {
    VolumeKnob knob;
    knob.showVolume(0);
    knob.press(0);
    EXPECT_EQ(knob.move(left), volume) << left;
    EXPECT_FLOAT_EQ(knob.left(), std::clamp(left, 0.0f, 1125.0f));
  }
  // The point grabbed stays under the pointer: grabbed at 75.4, its middle.
  VolumeKnob knob;
  knob.showVolume(50);  // left 562.5
  knob.press(75.4f);
  EXPECT_EQ(knob.move(75.0f + 112.5f), 60);
  EXPECT_FLOAT_EQ(knob.left(), 675.0f);
}

TEST(PositionThumb, HeldOnlyOnAPlayingCartAndKeptOnItsTrack) {
  PositionThumb idle;
  EXPECT_FALSE(idle.press(10, false));
  idle.drag(500);
  EXPECT_FLOAT_EQ(idle.left(), 0.0f);
  const std::pair<float, float> table[] = {{622.5f, 622.5f},
                                           {-300.0f, 0.0f},
                                           {1245.0f, 1245.0f},  // 1245 + 75 = 1320 still fits
                                           {1245.5f, 1245.0f}};
  for (const auto& [pointer, left] : table) {
    PositionThumb thumb;
    EXPECT_TRUE(thumb.press(0, true));
    EXPECT_TRUE(thumb.seeking());
    thumb.drag(pointer);
    EXPECT_FLOAT_EQ(thumb.left(), left) << pointer;
  }
}

TEST(PositionThumb, ReleaseJumpsToThePercentShownButNeverToTheEnd) {
  const struct {
    float left;
    audio::FrameCount total;
    audio::FrameCount target;
  } cases[] = {
      {0.0f, 1000, 0},
      {1245.0f, 1000, 990},  // the right end: 99 %
      {622.5f, 1001, 500},   // 500.5: to the even 500
      {622.5f, 1003, 502},   // 501.5: to the even 502
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
