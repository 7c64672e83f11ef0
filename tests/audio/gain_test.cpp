#include "audio/gain.h"

#include <gtest/gtest.h>

namespace quillon::audio {
namespace {

AudioBlock constantBlock(std::int16_t value, int frames, int rate = 44100) {
  AudioBlock b;
  b.channels = 2;
  b.sampleRate = rate;
  b.samples.assign(static_cast<std::size_t>(frames * 2), value);
  return b;
}

TEST(Gain, FixedValuesOnAFirstBlock) {
  struct Case {
    std::int16_t in;
    float gain;
    std::int16_t out;
  };
  const Case cases[] = {
      {12345, 100.f, 12345},  // unchanged
      {-32768, 100.f, -32768},
      {12345, 0.f, 0},  // silent
      {10000, 50.f, 5000},
      {3, 50.f, 2},           // 1.5 -> 2 (half to even)
      {5, 50.f, 2},           // 2.5 -> 2
      {7, 50.f, 4},           // 3.5 -> 4
      {30000, 200.f, 32767},  // saturates, never wraps
      {-30000, 200.f, -32768},
      {1000, 33.f, 330},
  };
  for (const auto& c : cases) {
    Gain gain;  // a fresh head: no glide
    const AudioBlock out =
        gain.ApplyGain(constantBlock(c.in, 100), c.gain, constantBlock(c.in, 100), c.gain);
    for (auto s : out.samples) ASSERT_EQ(s, c.out) << c.in << " at " << c.gain;
  }
}

TEST(Gain, GlidesFromTheLastGainOverFiveMilliseconds) {
  Gain gain;
  gain.ApplyGain(constantBlock(10000, 4410), 100.f);
  const AudioBlock out = gain.ApplyGain(constantBlock(10000, 4410), 0.f);
  // 5 ms at 44.1 kHz is 220 frames (integer ms of the rate: 44100*5/1000).
  const int glide = 220;
  // Moves monotonically down, never jumps by more than one glide step.
  int previous = 10000;
  for (int f = 0; f < glide; ++f) {
    const int s = out.samples[static_cast<std::size_t>(f * 2)];
    EXPECT_LE(s, previous);
    EXPECT_LE(previous - s, 10000 / glide + 1);
    previous = s;
  }
  // Halfway through the glide the gain is about half.
  EXPECT_NEAR(out.samples[static_cast<std::size_t>((glide / 2 - 1) * 2)], 5000, 50);
  // Reached at the glide's end and held.
  for (int f = glide - 1; f < 4410; ++f) ASSERT_EQ(out.samples[static_cast<std::size_t>(f * 2)], 0);
}

TEST(Gain, NoGlideAtTheSameGainNorAfterARestart) {
  Gain gain;
  gain.ApplyGain(constantBlock(10000, 100), 50.f);
  for (auto s : gain.ApplyGain(constantBlock(10000, 100), 50.f).samples) ASSERT_EQ(s, 5000);
  gain.ApplyGain(constantBlock(10000, 4410), 0.f);
  gain.Restart();
  // The new head starts at full gain: no fade-up from the old silence.
  EXPECT_EQ(gain.ApplyGain(constantBlock(10000, 4410), 100.f).samples.front(), 10000);
}

TEST(Gain, GlideLongerThanAShortBlockEndsOnTheTarget) {
  Gain gain;
  gain.ApplyGain(constantBlock(10000, 10), 100.f);
  const AudioBlock out = gain.ApplyGain(constantBlock(10000, 10), 0.f);
  EXPECT_EQ(out.samples.back(), 0);
  EXPECT_GT(out.samples.front(), 0);
}

}  // namespace
}  // namespace quillon::audio
