// Every fixture against the ffmpeg tool's full decode: the lengths the
// information and the reader give, every sample read in blocks of any size,
// and seeks to any frame, all to the frame and bit for bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "audio/ffmpeg/ffmpeginformation.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "playablefixtures.h"

namespace quillon::audio {
namespace {

using test::AudioFixture;

class EachFixture : public ::testing::TestWithParam<AudioFixture> {
 protected:
  void SetUp() override {
    m_path = test::fixturePath(GetParam());
    ASSERT_FALSE(m_path.empty());
    m_channels = GetParam().outputChannels();
    m_rate = GetParam().rate;
    m_reference = GetParam().channels > 2 ? test::downmixWithFfmpegTool(m_path)
                                          : test::decodeWithFfmpegTool(m_path, m_channels);
    m_total = std::ssize(m_reference) / m_channels;
    ASSERT_GT(m_total, 0);
    if (GetParam().exactFromSource) {
      EXPECT_EQ(m_total, GetParam().sourceFrames());
    }
    ASSERT_EQ(m_reader.OpenFile(m_path), 0) << m_reader.lastError();
  }

  // Seeks to `target`, reads 300 ms (less at the end) and compares them with
  // the reference.
  void expectSeekLandsOn(FrameCount target) {
    ASSERT_EQ(m_reader.SeekSample(target), target) << m_reader.lastError();
    const std::ptrdiff_t wanted =
        std::min<FrameCount>(m_rate * 3 / 10, m_total - target) * m_channels;
    std::vector<std::int16_t> got;
    AudioBlock block;
    while (std::ssize(got) < wanted && m_reader.ReadBlock(m_rate / 10, block) == ReadResult::Data) {
      got.insert(got.end(), block.samples.begin(), block.samples.end());
    }
    got.resize(static_cast<std::size_t>(std::min(std::ssize(got), wanted)));
    ASSERT_EQ(std::ssize(got), wanted) << "after a seek to " << target;
    const auto mismatch =
        std::mismatch(got.begin(), got.end(), m_reference.begin() + target * m_channels);
    EXPECT_TRUE(mismatch.first == got.end())
        << "a seek to frame " << target << " of " << m_total << " differs at frame "
        << target + (mismatch.first - got.begin()) / m_channels;
  }

  std::string m_path;
  int m_channels = 0;
  int m_rate = 0;
  std::vector<std::int16_t> m_reference;
  FrameCount m_total = 0;
  FfmpegReader m_reader{nullptr};
};

TEST_P(EachFixture, GivesTheToolsLengthAndSamplesInBlocksOfAnySizeAndSeeksToTheExactFrame) {
  FfmpegInformation information(nullptr);  // no cache: it counts on its own
  ASSERT_TRUE(information.OpenInfo(m_path)) << information.lastError();
  EXPECT_EQ(information.InfoSampleRate(), m_rate);
  EXPECT_EQ(information.InfoTotalSamples(), m_total);
  EXPECT_EQ(information.InfoDurationMs(), m_total * 1000 / m_rate);
  EXPECT_EQ(m_reader.FileStatus(), 0);
  EXPECT_EQ(m_reader.StreamFormat(), (AudioFormat{m_rate, m_channels}));
  EXPECT_EQ(m_reader.TotalSamples(), m_total);

  // Odd sizes in turn: every block is full but the last, and their sum is the file.
  const FrameCount sizes[] = {1, 7, m_rate / 10, 4799, 1'000'000};
  std::vector<std::int16_t> all;
  AudioBlock block;
  for (std::size_t i = 0; std::ssize(all) < m_total * m_channels; ++i) {
    const FrameCount asked = sizes[i % std::size(sizes)];
    ASSERT_EQ(m_reader.ReadBlock(asked, block), ReadResult::Data) << m_reader.lastError();
    ASSERT_EQ(block.frames(), std::min(asked, m_total - std::ssize(all) / m_channels));
    ASSERT_EQ(block.channels, m_channels);
    ASSERT_EQ(block.sampleRate, m_rate);
    all.insert(all.end(), block.samples.begin(), block.samples.end());
  }
  for (int i = 0; i < 2; ++i) {  // the end, as often as it is asked for
    EXPECT_EQ(m_reader.ReadBlock(4410, block), ReadResult::End);
    EXPECT_TRUE(block.empty());
  }
  EXPECT_TRUE(all == m_reference) << "the samples differ from the ffmpeg tool's decode";
  ASSERT_EQ(m_reader.SeekSample(m_total + 1000), m_total);  // clamped to the end
  EXPECT_EQ(m_reader.ReadBlock(100, block), ReadResult::End);
  ASSERT_EQ(m_reader.SeekSample(-5), 0);  // clamped to the start: a loop's restart
  EXPECT_TRUE(test::readToEnd(m_reader, 4410) == m_reference);

  // Around the 200 ms the reader decodes ahead, and the position bar's right end.
  const FrameCount preroll = m_rate / 5;
  std::vector<FrameCount> targets = {0, 1, preroll - 1, preroll, preroll + 1, m_total / 3};
  for (FrameCount t : {m_total / 2 + 1, m_total * 99 / 100, m_total - m_rate / 10, m_total - 1}) {
    targets.push_back(t);
  }
  std::mt19937 random(12345);
  for (int i = 0; i < 8; ++i) {
    targets.push_back(std::uniform_int_distribution<FrameCount>(0, m_total - 1)(random));
  }
  // In a shuffled order on a reader just opened: forwards, backwards, near and far.
  ASSERT_EQ(m_reader.OpenFile(m_path), 0);
  std::shuffle(targets.begin(), targets.end(), random);
  for (const FrameCount target : targets) expectSeekLandsOn(target);
  // And from the middle to the exact end, in blocks of another size.
  const FrameCount middle = m_total / 2 + 3;
  ASSERT_EQ(m_reader.SeekSample(middle), middle);
  bool failed = false;
  const auto rest = test::readToEnd(m_reader, 4096, &failed);
  EXPECT_FALSE(failed) << m_reader.lastError();
  EXPECT_TRUE(std::equal(rest.begin(), rest.end(), m_reference.begin() + middle * m_channels,
                         m_reference.end()));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EachFixture, ::testing::ValuesIn(test::playableFixtures()),
                         [](const auto& info) {  // the file name without its dot
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), '.', '_');
                           return name;
                         });

TEST(ReaderCalls, WithoutAFileOrAfterCloseFileOrForNoFramesACallIsRefusedAndAnOpenStartsAfresh) {
  const std::string second = test::fixturePath(test::fixtureNamed("mono_8k.ogg"));
  FfmpegReader reader(nullptr);
  for (int pass = 0; pass < 2; ++pass) {
    AudioBlock block;
    block.samples.assign(10, 1);
    EXPECT_LT(reader.FileStatus(), 0);
    EXPECT_EQ(reader.TotalSamples(), 0);
    EXPECT_FALSE(reader.StreamFormat().valid());
    EXPECT_EQ(reader.ReadBlock(4410, block), ReadResult::Failed);
    EXPECT_TRUE(block.empty());
    EXPECT_FALSE(reader.SeekSample(0).has_value());
    EXPECT_FALSE(reader.lastError().empty());
    ASSERT_EQ(reader.OpenFile(test::fixturePath(test::fixtureNamed("s24_stereo_96k.wav"))), 0);
    // An empty request fails and leaves the reader fine.
    EXPECT_EQ(reader.ReadBlock(0, block), ReadResult::Failed);
    EXPECT_EQ(reader.ReadBlock(-5, block), ReadResult::Failed);
    EXPECT_TRUE(block.empty());
    EXPECT_EQ(reader.ReadBlock(5000, block), ReadResult::Data);
    EXPECT_EQ(block.frames(), 5000);
    ASSERT_EQ(reader.OpenFile(second), 0);  // another file, over the open one
    EXPECT_EQ(reader.StreamFormat(), (AudioFormat{8000, 1}));
    EXPECT_TRUE(test::readToEnd(reader, 800) == test::decodeWithFfmpegTool(second, 1));
    reader.CloseFile();
  }
  reader.CloseFile();  // twice is harmless
}

}  // namespace
}  // namespace quillon::audio
