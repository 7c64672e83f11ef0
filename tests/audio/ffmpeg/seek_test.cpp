// SeekSample lands on the exact frame: after a seek, the next blocks equal
// the ffmpeg tool's full decode from that frame on, bit for bit, for every
// fixture and at positions chosen to catch off-by-one, preroll and end cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "audio/ffmpeg/ffmpegreader.h"
#include "playablefixtures.h"
#include "readall.h"

namespace quillon::audio {
namespace {

using test::AudioFixture;

class SeekAccuracy : public ::testing::TestWithParam<AudioFixture> {
 protected:
  void SetUp() override {
    const AudioFixture& fixture = GetParam();
    m_path = test::fixturePath(fixture);
    ASSERT_FALSE(m_path.empty());
    m_channels = fixture.outputChannels();
    m_reference = test::decodeWithFfmpegTool(m_path, m_channels);
    m_total = static_cast<FrameCount>(m_reference.size()) / m_channels;
    ASSERT_GT(m_total, 0);
    ASSERT_EQ(m_reader.OpenFile(m_path), 0) << m_reader.lastError();
    ASSERT_EQ(m_reader.TotalSamples(), m_total);
  }

  // Seeks to `target`, reads `frames` frames (fewer at the end of the file)
  // and compares them with the reference.
  void expectSeekLandsOn(FrameCount target, FrameCount frames) {
    const auto reached = m_reader.SeekSample(target);
    ASSERT_TRUE(reached.has_value()) << m_reader.lastError();
    ASSERT_EQ(*reached, target);
    const FrameCount expected = std::min(frames, m_total - target);
    std::vector<std::int16_t> got;
    AudioBlock block;
    const FrameCount blockFrames = GetParam().rate / 10;
    while (static_cast<FrameCount>(got.size()) < expected * m_channels) {
      const ReadResult result = m_reader.ReadBlock(blockFrames, block);
      if (result != ReadResult::Data) break;
      got.insert(got.end(), block.samples.begin(), block.samples.end());
    }
    got.resize(std::min(got.size(), static_cast<std::size_t>(expected * m_channels)));
    ASSERT_EQ(static_cast<FrameCount>(got.size()) / m_channels, expected)
        << "after a seek to " << target;
    const auto begin = m_reference.begin() + static_cast<std::ptrdiff_t>(target * m_channels);
    const auto mismatch = std::mismatch(got.begin(), got.end(), begin);
    EXPECT_TRUE(mismatch.first == got.end())
        << "a seek to frame " << target << " of " << m_total << " differs at frame "
        << target + (mismatch.first - got.begin()) / m_channels;
  }

  std::string m_path;
  int m_channels = 0;
  std::vector<std::int16_t> m_reference;
  FrameCount m_total = 0;
  FfmpegReader m_reader{nullptr};
};

TEST_P(SeekAccuracy, LandsOnTheExactFrameEverywhere) {
  const FrameCount rate = GetParam().rate;
  const FrameCount preroll = rate / 5;  // the reader decodes 200 ms ahead
  std::vector<FrameCount> targets = {0,
                                     1,
                                     preroll - 1,
                                     preroll,
                                     preroll + 1,
                                     m_total / 3,
                                     m_total / 2 + 1,
                                     m_total * 99 / 100,  // the position bar's right end
                                     m_total - rate / 10,
                                     m_total - 1};
  std::mt19937 random(12345);
  for (int i = 0; i < 8; ++i) {
    targets.push_back(std::uniform_int_distribution<FrameCount>(0, m_total - 1)(random));
  }
  // In a shuffled order on one open reader: forwards, backwards, near and far.
  std::shuffle(targets.begin(), targets.end(), random);
  for (const FrameCount target : targets) {
    SCOPED_TRACE(target);
    expectSeekLandsOn(target, rate * 3 / 10);
  }
}

TEST_P(SeekAccuracy, AfterASeekTheFileReadsToItsExactEnd) {
  const FrameCount target = m_total / 2 + 3;
  ASSERT_EQ(m_reader.SeekSample(target), target);
  bool failed = false;
  const auto rest = test::readToEnd(m_reader, 4096, &failed);
  EXPECT_FALSE(failed) << m_reader.lastError();
  EXPECT_TRUE(std::equal(rest.begin(), rest.end(),
                         m_reference.begin() + static_cast<std::ptrdiff_t>(target * m_channels),
                         m_reference.end()));
}

TEST_P(SeekAccuracy, SeekingToTheEndOrBeyondEndsAndBackToTheStartPlaysAgain) {
  ASSERT_EQ(m_reader.SeekSample(m_total), m_total);
  AudioBlock block;
  EXPECT_EQ(m_reader.ReadBlock(100, block), ReadResult::End);
  EXPECT_TRUE(block.empty());
  ASSERT_EQ(m_reader.SeekSample(m_total + 1000), m_total);  // clamped to the end
  EXPECT_EQ(m_reader.ReadBlock(100, block), ReadResult::End);
  ASSERT_EQ(m_reader.SeekSample(-5), 0);  // clamped to the start
  // Loop restart: read to the end, seek to 0, the whole file again.
  const auto once = test::readToEnd(m_reader, 4410);
  ASSERT_EQ(m_reader.SeekSample(0), 0);
  const auto again = test::readToEnd(m_reader, 4410);
  EXPECT_TRUE(once == m_reference);
  EXPECT_TRUE(again == m_reference);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SeekAccuracy, ::testing::ValuesIn(test::playableFixtures()),
                         [](const auto& info) { return test::fixtureTestName(info.param); });

}  // namespace
}  // namespace quillon::audio
