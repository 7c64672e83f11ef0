#include "audio/gain.h"

#include <gtest/gtest.h>

namespace quillon::audio {
namespace {

// The block scaled at `percent` with no fade, as a copy.
audio::AudioBlock scaled(audio::Gain& gain, audio::AudioBlock block, float percent) {
  gain.applyInPlace(block, percent, {}, 0);
  return block;
}

AudioBlock constantBlock(std::int16_t value, int frames) {
  AudioBlock b;
  b.channels = 2;
  b.sampleRate = 44100;
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
      {12345, 100.f, 12345},
      {-32768, 100.f, -32768},
      {12345, 0.f, 0},
      {10000, 50.f, 5000},
      {3, 50.f, 2},  // 1.5, 2.5, 3.5: half to even
      {5, 50.f, 2},
      {7, 50.f, 4},
      {30000, 200.f, 32767},  // saturates, never wraps
      {-30000, 200.f, -32768},
      {1000, 33.f, 330},
  };
  for (const auto& c : cases) {
    Gain gain;  // a fresh head: no glide
    const AudioBlock block = constantBlock(c.in, 100);
    for (auto s : scaled(gain, block, c.gain).samples) {
      ASSERT_EQ(s, c.out) << c.in << " at " << c.gain;
    }
  }
}

TEST(Gain, NormalisationMultipliesTheVolumeAndSaturates) {
  struct Case {
    double normalisation;
    float volume;
    std::int16_t in;
    std::int16_t out;
  };
  const Case cases[] = {
      {0.5, 50.f, 10000, 2500},     {2.0, 100.f, 10000, 20000},
      {4.0, 100.f, 10000, 32767},  // +12 dB of a loud file: full scale, no wrap
      {4.0, 100.f, -10000, -32768}, {4.0, 25.f, 10000, 10000},
  };
  for (const auto& c : cases) {
    Gain gain;
    gain.setNormalisation(c.normalisation);
    AudioBlock block = constantBlock(c.in, 100);
    gain.applyInPlace(block, c.volume, {}, 0);
    EXPECT_EQ(block.samples.front(), c.out) << c.normalisation << " x " << c.volume;
    EXPECT_EQ(block.samples.back(), c.out);
  }
  // A new factor between two blocks of one play glides like a volume step.
  Gain gain;
  AudioBlock first = constantBlock(10000, 441);
  gain.applyInPlace(first, 100.f, {}, 0);
  gain.setNormalisation(0.5);
  AudioBlock second = constantBlock(10000, 441);
  gain.applyInPlace(second, 100.f, {}, 0);
  EXPECT_GT(second.samples[0], 9000);
  EXPECT_EQ(second.samples[2 * 220], 5000);  // after the 5 ms glide (220 frames)
}

TEST(Gain, GlidesFromTheLastGainOverFiveMillisecondsButNotAtTheSameGainNorAfterARestart) {
  Gain gain;
  scaled(gain, constantBlock(10000, 4410), 100.f);
  const AudioBlock out = scaled(gain, constantBlock(10000, 4410), 0.f);
  const int glide = 220;  // 5 ms at 44.1 kHz
  // Down step by step, never by more than one glide step; about half halfway.
  int previous = 10000;
  for (int f = 0; f < glide; ++f) {
    const int s = out.samples[static_cast<std::size_t>(f * 2)];
    EXPECT_LE(s, previous);
    EXPECT_LE(previous - s, 10000 / glide + 1);
    previous = s;
  }
  EXPECT_NEAR(out.samples[static_cast<std::size_t>((glide / 2 - 1) * 2)], 5000, 50);
  for (int f = glide - 1; f < 4410; ++f) ASSERT_EQ(out.samples[static_cast<std::size_t>(f * 2)], 0);
  // A glide longer than a short block still ends that block on the target.
  Gain shortBlocks;
  scaled(shortBlocks, constantBlock(10000, 10), 100.f);
  const AudioBlock shortOut = scaled(shortBlocks, constantBlock(10000, 10), 0.f);
  EXPECT_GT(shortOut.samples.front(), 0);
  EXPECT_EQ(shortOut.samples.back(), 0);
  // No glide at the same gain, nor after a restart.
  Gain same;
  scaled(same, constantBlock(10000, 100), 50.f);
  for (auto s : scaled(same, constantBlock(10000, 100), 50.f).samples) ASSERT_EQ(s, 5000);
  scaled(same, constantBlock(10000, 4410), 0.f);
  same.Restart();
  // The new head starts at full gain: no fade-up from the old silence.
  EXPECT_EQ(scaled(same, constantBlock(10000, 4410), 100.f).samples.front(), 10000);
}

}  // namespace
}  // namespace quillon::audio
