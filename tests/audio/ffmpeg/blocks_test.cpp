// Block sizes, the end of the data and calls out of order: the reader hands
// out exactly what was asked while the file lasts, then End, and never
// mistakes a closed or failed reader for one with data.
#include <gtest/gtest.h>

#include "audio/ffmpeg/ffmpegreader.h"
#include "playablefixtures.h"
#include "readall.h"

namespace quillon::audio {
namespace {

using test::AudioFixture;

struct BlockCase {
  std::string fixture;
  FrameCount blockFrames;
};

void PrintTo(const BlockCase& c, std::ostream* out) {
  *out << c.fixture << " by " << c.blockFrames;
}

class BlockSizes : public ::testing::TestWithParam<BlockCase> {};

TEST_P(BlockSizes, EveryBlockIsFullButTheLastAndTheirSumIsTheFile) {
  const AudioFixture& fixture = test::fixtureNamed(GetParam().fixture);
  const std::string path = test::fixturePath(fixture);
  const auto reference = test::decodeWithFfmpegTool(path, fixture.outputChannels());
  const FrameCount total = static_cast<FrameCount>(reference.size()) / fixture.outputChannels();

  FfmpegReader reader(nullptr);
  ASSERT_EQ(reader.OpenFile(path), 0) << reader.lastError();
  const FrameCount asked = GetParam().blockFrames;
  std::vector<std::int16_t> all;
  AudioBlock block;
  FrameCount remaining = total;
  while (remaining > 0) {
    ASSERT_EQ(reader.ReadBlock(asked, block), ReadResult::Data) << reader.lastError();
    ASSERT_EQ(block.frames(), std::min(asked, remaining));
    ASSERT_EQ(block.channels, fixture.outputChannels());
    ASSERT_EQ(block.sampleRate, fixture.rate);
    all.insert(all.end(), block.samples.begin(), block.samples.end());
    remaining -= block.frames();
  }
  // The end, as often as it is asked for, with an empty block.
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(reader.ReadBlock(asked, block), ReadResult::End);
    EXPECT_TRUE(block.empty());
  }
  EXPECT_TRUE(all == reference);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, BlockSizes,
    ::testing::Values(BlockCase{"u8_mono_8k.wav", 1}, BlockCase{"cbr_xing_mono_8k.mp3", 1},
                      BlockCase{"s16_stereo_44k.wav", 7}, BlockCase{"vbr_noxing_stereo_44k.mp3", 7},
                      BlockCase{"stereo_44k.wma", 4410}, BlockCase{"stereo_44k.ogg", 4410},
                      BlockCase{"s16_51_48k.wav", 4800}, BlockCase{"51_48k.ogg", 4799},
                      BlockCase{"mono_22k.wma", 22050}, BlockCase{"s24_stereo_96k.wav", 1000000}),
    [](const auto& info) {
      return test::fixtureTestName(test::fixtureNamed(info.param.fixture)) + "_by_" +
             std::to_string(info.param.blockFrames);
    });

TEST(ReaderWithoutAFile, RefusesEveryCallClearly) {
  FfmpegReader reader(nullptr);
  AudioBlock block;
  block.samples.assign(10, 1);
  EXPECT_LT(reader.FileStatus(), 0);
  EXPECT_EQ(reader.TotalSamples(), 0);
  EXPECT_FALSE(reader.StreamFormat().valid());
  EXPECT_EQ(reader.ReadBlock(4410, block), ReadResult::Failed);
  EXPECT_TRUE(block.empty());
  EXPECT_FALSE(reader.SeekSample(0).has_value());
  EXPECT_FALSE(reader.lastError().empty());
}

TEST(ReaderWithoutAFile, IsBackToNoFileAfterCloseFile) {
  FfmpegReader reader(nullptr);
  ASSERT_EQ(reader.OpenFile(test::fixturePath(test::fixtureNamed("stereo_44k.ogg"))), 0);
  reader.CloseFile();
  AudioBlock block;
  EXPECT_LT(reader.FileStatus(), 0);
  EXPECT_EQ(reader.TotalSamples(), 0);
  EXPECT_EQ(reader.ReadBlock(4410, block), ReadResult::Failed);
  reader.CloseFile();  // twice is harmless
}

TEST(ReaderBlocks, AnEmptyRequestFails) {
  FfmpegReader reader(nullptr);
  ASSERT_EQ(reader.OpenFile(test::fixturePath(test::fixtureNamed("stereo_44k.ogg"))), 0);
  AudioBlock block;
  EXPECT_EQ(reader.ReadBlock(0, block), ReadResult::Failed);
  EXPECT_EQ(reader.ReadBlock(-5, block), ReadResult::Failed);
  EXPECT_TRUE(block.empty());
  // The reader is still fine afterwards.
  EXPECT_EQ(reader.ReadBlock(10, block), ReadResult::Data);
  EXPECT_EQ(block.frames(), 10);
}

TEST(ReaderBlocks, OpeningAnotherFileStartsAfresh) {
  const AudioFixture& first = test::fixtureNamed("s24_stereo_96k.wav");
  const AudioFixture& second = test::fixtureNamed("mono_8k.ogg");
  FfmpegReader reader(nullptr);
  ASSERT_EQ(reader.OpenFile(test::fixturePath(first)), 0);
  AudioBlock block;
  ASSERT_EQ(reader.ReadBlock(5000, block), ReadResult::Data);
  ASSERT_EQ(reader.OpenFile(test::fixturePath(second)), 0);
  EXPECT_EQ(reader.StreamFormat(), (AudioFormat{8000, 1}));
  EXPECT_TRUE(test::readToEnd(reader, 800) ==
              test::decodeWithFfmpegTool(test::fixturePath(second), 1));
}

}  // namespace
}  // namespace quillon::audio
