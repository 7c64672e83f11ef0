#include "audio/conversions.h"

#include <gtest/gtest.h>

namespace quillon::audio {
namespace {

TEST(Conversions, HandWorkedValuesThatNeverRunAheadNorOverflow) {
  EXPECT_EQ(msToFrames(100, 22050), 2205);
  EXPECT_EQ(msToFrames(100, 48000), 4800);
  // 44099 frames are 999.97 ms: still 999, so a display never shows 1 s early.
  EXPECT_EQ(framesToMs(44099, 44100), 999);
  EXPECT_EQ(framesToMs(44100, 44100), 1000);
  EXPECT_EQ(framesToMs(1, 22050), 0);
  EXPECT_EQ(msToFrames(100, 0), 0);  // no rate
  EXPECT_EQ(framesToMs(100, 0), 0);
  // Where 32-bit arithmetic would wrap: 49 s at 44.1 kHz, ten hours at 96 kHz.
  EXPECT_EQ(framesToMs(2160900, 44100), 49000);
  EXPECT_EQ(msToFrames(36000000, 96000), 3456000000LL);
  EXPECT_EQ(framesToMs(3456000000LL, 96000), 36000000);
}

}  // namespace
}  // namespace quillon::audio
