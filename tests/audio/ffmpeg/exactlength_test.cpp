// Lengths and samples of every fixture: the information, the reader's
// TotalSamples, the frames the reader delivers and the ffmpeg tool's own
// decode must all agree, to the frame and to the sample.
#include <gtest/gtest.h>

#include <filesystem>

#include "audio/ffmpeg/ffmpeginformation.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "audio/ffmpeg/lengthcache.h"
#include "playablefixtures.h"
#include "readall.h"

namespace quillon::audio {
namespace {

using test::AudioFixture;

class ExactLength : public ::testing::TestWithParam<AudioFixture> {};

TEST_P(ExactLength, InformationReaderAndFullDecodeAgree) {
  const AudioFixture& fixture = GetParam();
  const std::string path = test::fixturePath(fixture);
  ASSERT_FALSE(path.empty());
  const std::vector<std::int16_t> reference =
      test::decodeWithFfmpegTool(path, fixture.outputChannels());
  ASSERT_FALSE(reference.empty());
  const FrameCount referenceFrames =
      static_cast<FrameCount>(reference.size()) / fixture.outputChannels();
  if (fixture.exactFromSource) {
    EXPECT_EQ(referenceFrames, fixture.sourceFrames());
  }

  // No cache: each counts on its own.
  FfmpegInformation information(nullptr);
  ASSERT_TRUE(information.OpenInfo(path)) << information.lastError();
  EXPECT_EQ(information.InfoSampleRate(), fixture.rate);
  EXPECT_EQ(information.InfoTotalSamples(), referenceFrames);
  EXPECT_EQ(information.InfoDurationMs(), referenceFrames * 1000 / fixture.rate);

  FfmpegReader reader(nullptr);
  ASSERT_EQ(reader.OpenFile(path), 0) << reader.lastError();
  EXPECT_EQ(reader.FileStatus(), 0);
  EXPECT_EQ(reader.StreamFormat(), (AudioFormat{fixture.rate, fixture.outputChannels()}));
  EXPECT_EQ(reader.TotalSamples(), referenceFrames);

  bool failed = false;
  const auto samples = test::readToEnd(reader, fixture.rate / 10, &failed);
  EXPECT_FALSE(failed) << reader.lastError();
  ASSERT_EQ(samples.size(), reference.size());
  EXPECT_TRUE(samples == reference) << "the samples differ from the ffmpeg tool's decode";
}

TEST_P(ExactLength, CountedAtTheBindAndNotAgainAtTheStart) {
  const AudioFixture& fixture = GetParam();
  const std::string path = test::fixturePath(fixture);
  FfmpegMedia media;
  auto information = media.createInformation();
  ASSERT_TRUE(information->OpenInfo(path)) << information->lastError();
  EXPECT_EQ(media.lengthCache().size(), 1u);

  auto reader = media.createReader();
  ASSERT_EQ(reader->OpenFile(path), 0) << reader->lastError();
  EXPECT_EQ(reader->TotalSamples(), information->InfoTotalSamples());
  // A start after a bind reads only what its first frame needs (a probe,
  // headers, a packet), never the whole file again to count it.
  const std::int64_t read = dynamic_cast<FfmpegReader&>(*reader).bytesRead();
  const auto size = static_cast<std::int64_t>(std::filesystem::file_size(path));
  EXPECT_LE(read, 256 * 1024);
  if (size > 256 * 1024) {
    EXPECT_LT(read, size / 2);
  }
}

TEST(LengthCacheInUse, AFileReplacedAfterItsBindIsCountedAfresh) {
  const auto& fixtures = test::playableFixtures();
  const AudioFixture& first = fixtures.front();
  const AudioFixture& second = fixtures.back();
  test::ScratchFolder folder;
  const std::string path = folder.file("cart.wav");
  std::filesystem::copy_file(test::fixturePath(first), path);
  FfmpegMedia media;
  auto information = media.createInformation();
  ASSERT_TRUE(information->OpenInfo(path));
  ASSERT_EQ(information->InfoSampleRate(), first.rate);

  std::filesystem::copy_file(test::fixturePath(second), path,
                             std::filesystem::copy_options::overwrite_existing);
  auto reader = media.createReader();
  ASSERT_EQ(reader->OpenFile(path), 0);
  EXPECT_EQ(reader->StreamFormat().sampleRate, second.rate);
  EXPECT_EQ(reader->TotalSamples(), second.sourceFrames());
  ASSERT_TRUE(information->OpenInfo(path));
  EXPECT_EQ(information->InfoTotalSamples(), second.sourceFrames());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ExactLength, ::testing::ValuesIn(test::playableFixtures()),
                         [](const auto& info) { return test::fixtureTestName(info.param); });

}  // namespace
}  // namespace quillon::audio
