// The values a cart shows, against worked values and hand calculation.
#include "cart/displayvalues.h"

#include <gtest/gtest.h>

#include "cart/cartgeometry.h"
#include "cart/cartpaths.h"
#include "cart/volumeknob.h"

namespace quillon::cart {
namespace {

TEST(RunningTime, MinutesAndSecondsRoundedDownWithAtLeastTwoDigits) {
  const struct {
    std::int64_t ms;
    const char* text;
  } cases[] = {
      {0, "00:00"},      {999, "00:00"},      {59999, "00:59"},   {60000, "01:00"},
      {754321, "12:34"}, {6000000, "100:00"}, {5999999, "99:59"}, {-40, "00:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(runningTimeText(c.ms), c.text) << c.ms;
}

TEST(LengthDisplay, SecondsRoundedToNearestWithHalvesToEven) {
  const struct {
    std::int64_t ms;
    const char* text;
  } cases[] = {
      {125500, "02:06"}, {124500, "02:04"}, {600000, "10:00"}, {0, "00:00"},
      {59500, "01:00"},  {58500, "00:58"},  {499, "00:00"},    {6000000, "100:00"},
  };
  for (const auto& c : cases) EXPECT_EQ(lengthText(c.ms), c.text) << c.ms;
}

TEST(LengthSeconds, MillisecondsRoundedThenSecondsRounded) {
  const struct {
    audio::FrameCount frames;
    int rate;
    std::int64_t seconds;
  } cases[] = {
      {110250, 44100, 2},   // 2500 ms: 2.5 goes to 2
      {441000, 44100, 10},  // exactly 10 s
      {458640, 44100, 10},  // 10.4 s
      {463050, 44100, 10},  // 10.5 s: to the even 10
      {507150, 44100, 12},  // 11.5 s: to the even 12
      {13230, 44100, 0},    // 0.3 s
      {22072, 44100, 0},    // 500.499 ms is 500 ms first, then 0.5 s: 0
      {24000, 48000, 0},    // 0.5 s
      {72000, 48000, 2},    // 1.5 s
      {1000, 0, 0},         // no rate: no length
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lengthSecondsOf(c.frames, c.rate), c.seconds) << c.frames << " at " << c.rate;
  }
}

TEST(Trace, SampleToHeightOnTheThirtyTwoUnitScale) {
  const struct {
    int sample;
    int y;
  } cases[] = {
      {0, 16},     {32767, 0}, {-32768, 32}, {-32665, 32}, {1021, 15},
      {-1021, 17}, {16384, 8}, {-16384, 24}, {32667, 0},   {1020, 16},
  };
  for (const auto& c : cases) EXPECT_EQ(traceY(c.sample), c.y) << c.sample;
}

TEST(Trace, SilenceIsAFlatLineOnTheMiddle) {
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
  const struct {
    const char* path;
    const char* title;
  } cases[] = {{"C:\\Jingles\\intro.mp3", "intro.mp3"},
               {"/home/studio/jingles/intro.mp3", "intro.mp3"},
               {"intro.mp3", "intro.mp3"},
               {"/music/odd\\name.mp3", "odd\\name.mp3"},
               {"D:\\loops\\bassmp3", "bassmp3"},
               {"folder/", ""},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(titleOf(c.path), c.title) << c.path;
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

TEST(VolumeTooltip, ABlankBeforeNumbersOfZeroAndAbove) {
  EXPECT_EQ(volumeTooltip(100), "Volume= 100");
  EXPECT_EQ(volumeTooltip(0), "Volume= 0");
  EXPECT_EQ(volumeTooltip(-5), "Volume=-5");
}

}  // namespace
}  // namespace quillon::cart
