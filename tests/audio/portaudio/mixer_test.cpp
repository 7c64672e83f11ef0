// The mix called directly, with no device: order, ramps, resets, underruns,
// saturation and counts, checked sample by sample against values worked out
// by hand.
#include "audio/portaudio/mixer.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace quillon::audio {
namespace {

constexpr int kRate = 48000;
constexpr int kRamp = kRate * Mixer::kRampMs / 1000;  // 192 frames

std::unique_ptr<VoiceBlock> constantBlock(int frames, std::int16_t left, std::int16_t right) {
  auto b = std::make_unique<VoiceBlock>();
  for (int i = 0; i < frames; ++i) b->samples.insert(b->samples.end(), {left, right});
  return b;
}

class MixerTest : public ::testing::Test {
 protected:
  // Renders `frames` stereo frames and returns them.
  std::vector<std::int16_t> render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2, 7777);
    mixer.render(out.data(), frames, 2, 0);
    return out;
  }
  std::vector<std::int16_t> renderLeft(int frames) {
    const auto stereo = render(frames);
    std::vector<std::int16_t> l;
    for (std::size_t i = 0; i < stereo.size(); i += 2) l.push_back(stereo[i]);
    return l;
  }
  // A voice claimed and opened for a new play, whose epoch goes to `epoch`.
  Voice* openVoice(std::uint32_t* epoch = nullptr) {
    Voice* v = mixer.claimVoice();
    const auto e = v->command(true);
    if (epoch != nullptr) *epoch = e;
    return v;
  }
  static int largestStep(const std::vector<std::int16_t>& mono) {
    int step = 0;
    for (std::size_t i = 1; i < mono.size(); ++i) {
      step = std::max(step, std::abs(mono[i] - mono[i - 1]));
    }
    return step;
  }

  Mixer mixer{kRate};
};

TEST_F(MixerTest, BlocksPlayInQueueOrderAfterTheFadeInAndSilenceFillsTheRest) {
  for (auto s : render(1500)) ASSERT_EQ(s, 0);  // no voice: more than one internal chunk
  std::uint32_t epoch = 0;
  Voice* v = openVoice(&epoch);
  for (int first : {1, 301}) {  // left counts up from 1, right down from -1
    auto b = std::make_unique<VoiceBlock>();
    for (int i = first; i < first + 300; ++i) {
      b->samples.insert(b->samples.end(),
                        {static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
    }
    ASSERT_TRUE(v->push(std::move(b)));
  }
  const auto out = render(600);
  // The fade-in, worked by hand: frame f, of value f + 1, at (f + 1) / 192.
  EXPECT_EQ(out[0], 0);          // 1 x 1/192
  EXPECT_EQ(out[2 * 95], 48);    // 96 x 96/192
  EXPECT_EQ(out[2 * 190], 190);  // 191 x 191/192 = 190.005
  EXPECT_EQ(out[2 * 190 + 1], -190);
  for (int f = kRamp; f < 600; ++f) {  // then every frame at full level, in order
    ASSERT_EQ(out[2 * f], f + 1) << "frame " << f;
    ASSERT_EQ(out[2 * f + 1], -(f + 1)) << "frame " << f;
  }
  EXPECT_EQ(v->progress(epoch).frames, 600);
  EXPECT_FALSE(v->progress(epoch).ended);
}

TEST_F(MixerTest, FadeInAndCloseStepNoMoreThanTheRampAllows) {
  Voice* v = openVoice();
  v->push(constantBlock(48000, 30000, 30000));
  auto heard = renderLeft(1000);
  EXPECT_EQ(heard[0], 30000 / kRamp);
  EXPECT_EQ(heard[kRamp - 1], 30000);
  v->command(false);  // mid-play: fade out, then silence
  const auto after = renderLeft(1000);
  heard.insert(heard.end(), after.begin(), after.end());
  // A linear ramp over kRamp frames moves at most ceil(30000 / kRamp) a frame.
  EXPECT_LE(largestStep(heard), (30000 + kRamp - 1) / kRamp);
  for (std::size_t i = kRamp; i < after.size(); ++i) ASSERT_EQ(after[i], 0);
  EXPECT_GT(after[kRamp - 2], 0);  // still fading just before the end of the ramp
}

TEST_F(MixerTest, ResetDropsTheQueueFadesTheOldPlayAndCountsTheNewFromZero) {
  Voice* v = openVoice();
  for (int i = 0; i < 3; ++i) v->push(constantBlock(4800, 20000, 20000));
  render(1000);
  const auto epoch = v->command(true);  // ResetOutput
  v->push(constantBlock(4800, -10000, -10000));
  auto heard = renderLeft(4800);
  // The old play fades out over kRamp frames, then the new one fades in.
  for (int f = 0; f < kRamp; ++f) ASSERT_GE(heard[static_cast<std::size_t>(f)], 0);
  for (std::size_t f = kRamp; f < heard.size(); ++f) ASSERT_LE(heard[f], 0) << "old block heard";
  EXPECT_EQ(heard[2 * kRamp + 10], -10000);
  EXPECT_LE(largestStep(heard), (20000 + kRamp - 1) / kRamp);
  // The new play's count starts at the reset: its own frames only.
  EXPECT_EQ(v->progress(epoch).frames, 4800 - kRamp);
  v->reclaim();  // the dropped blocks come back to be freed
  EXPECT_FALSE(v->full());
}

TEST_F(MixerTest, UnderrunIsSilenceCountedOncePerDrySpellAndNotBeforeTheFirstBlock) {
  std::uint32_t epoch = 0;
  Voice* v = openVoice(&epoch);
  render(2000);  // open, nothing queued yet: waiting, not an underrun
  EXPECT_EQ(v->underruns(), 0);
  v->push(constantBlock(500, 1000, 1000));
  const auto out = renderLeft(2000);
  for (std::size_t f = 500; f < out.size(); ++f) ASSERT_EQ(out[f], 0) << "stale data";
  EXPECT_EQ(v->underruns(), 1);
  render(2000);
  EXPECT_EQ(v->underruns(), 1);
  v->push(constantBlock(500, 1000, 1000));
  EXPECT_EQ(renderLeft(500)[0], 1000 / kRamp);  // fades in after the gap
  EXPECT_EQ(v->progress(epoch).frames, 1000);
  render(100);
  EXPECT_EQ(v->underruns(), 2);
}

TEST_F(MixerTest, TheEndBlockEndsThePlayWithAnExactCountAndNoUnderrun) {
  std::uint32_t epoch = 0;
  Voice* v = openVoice(&epoch);
  v->push(constantBlock(1234, 5, 5));
  v->push(std::make_unique<VoiceBlock>(VoiceBlock{{}, 0, true}));  // the end block
  render(1000);
  EXPECT_FALSE(v->progress(epoch).ended);
  render(1000);
  EXPECT_TRUE(v->progress(epoch).ended);
  EXPECT_EQ(v->progress(epoch).frames, 1234);
  EXPECT_EQ(v->underruns(), 0);
  // An end of an older play says nothing about the current one.
  const auto next = v->command(true);
  render(10);
  EXPECT_FALSE(v->progress(next).ended);
  EXPECT_EQ(v->progress(next).frames, 0);
}

TEST_F(MixerTest, ManyVoicesSumAndSaturateWithoutWrappingUntilTheyRunOut) {
  std::vector<Voice*> voices;
  for (int i = 0; i < 26; ++i) {
    voices.push_back(openVoice());
    // Left: 26 x 30000 saturates high; right: 26 x -30000 saturates low.
    voices.back()->push(constantBlock(2000, 30000, -30000));
  }
  const auto out = render(1000);
  for (int f = kRamp; f < 1000; ++f) {
    ASSERT_EQ(out[2 * f], 32767);
    ASSERT_EQ(out[2 * f + 1], -32768);
  }
  // A sum that fits is exact: two voices of 1000 and 2345.
  Mixer small(kRate);
  for (std::int16_t right : {1000, -2345}) {
    Voice* v = small.claimVoice();
    v->command(true);
    v->push(constantBlock(1000, std::abs(right), right));
  }
  std::vector<std::int16_t> mono(1000);
  small.render(mono.data(), 1000, 1, 0);  // a one-channel device gets the average
  EXPECT_EQ(mono[500], (1000 + 2345 + 1000 - 2345) / 2);
  // Voices run out, and a released one comes back.
  while (Voice* v = mixer.claimVoice()) voices.push_back(v);
  EXPECT_EQ(static_cast<int>(voices.size()), Mixer::kMaxVoices);
  mixer.releaseVoice(voices[5]);
  EXPECT_EQ(mixer.claimVoice(), voices[5]);
}

TEST_F(MixerTest, AFullQueueRefusesAndFreesAfterPlaying) {
  Voice* v = openVoice();
  for (std::size_t i = 0; i < Voice::kMaxBlocks; ++i) ASSERT_TRUE(v->push(constantBlock(10, 1, 1)));
  EXPECT_FALSE(v->push(constantBlock(10, 1, 1)));
  render(static_cast<int>(Voice::kMaxBlocks) * 10);
  EXPECT_TRUE(v->push(constantBlock(10, 1, 1)));  // played blocks were reclaimed
}

TEST_F(MixerTest, RecentSamplesAreTheMonoMixAfterTheFadeAndPeaksAreTakenOnce) {
  Voice* v = mixer.claimVoice();
  const auto since = v->recentWritten();
  v->command(true);
  v->push(constantBlock(1000, 1000, -3000));
  render(1000);
  EXPECT_EQ(v->recent(64, since), std::vector<std::int16_t>(64, -1000));
  const auto all = v->recent(2000, since);  // nothing was written before `since`: zeros
  EXPECT_EQ(all[0], 0);
  EXPECT_EQ(all[999], 0);
  EXPECT_EQ(all[1999], -1000);
  EXPECT_EQ(v->takePeaks(), std::make_pair(1000, 3000));
  EXPECT_EQ(v->takePeaks().first, 0);
}

}  // namespace
}  // namespace quillon::audio
