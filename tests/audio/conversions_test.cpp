#include <gtest/gtest.h>

#include "audio/conversions.h"

namespace quillon::audio {
namespace {

TEST(Conversions, HandWorkedValuesThatNeverRunAhead) {
  EXPECT_EQ(msToFrames(100, 22050), 2205);
  EXPECT_EQ(msToFrames(100, 44100), 4410);
  EXPECT_EQ(msToFrames(100, 48000), 4800);
  // 44099 frames are 999.97 ms: still 999, so a display never shows 1 s early.
  EXPECT_EQ(framesToMs(44099, 44100), 999);
  EXPECT_EQ(framesToMs(44100, 44100), 1000);
  EXPECT_EQ(framesToMs(1, 22050), 0);
  EXPECT_EQ(msToFrames(100, 0), 0);  // no rate
  EXPECT_EQ(framesToMs(100, 0), 0);
}

TEST(Conversions, TenHoursAtEveryCommonRateWithoutOverflow) {
  const std::int64_t tenHoursMs = 10LL * 3600 * 1000;
  for (int rate : {22050, 44100, 48000, 96000}) {
    const FrameCount frames = msToFrames(tenHoursMs, rate);
    EXPECT_EQ(frames, 36000LL * rate) << rate;
    EXPECT_EQ(framesToMs(frames, rate), tenHoursMs) << rate;
  }
  // Where 32-bit arithmetic would have wrapped: 49 s at 44.1 kHz.
  EXPECT_EQ(framesToMs(49 * 44100, 44100), 49000);
}

}  // namespace
}  // namespace quillon::audio
