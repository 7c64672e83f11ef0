// The read-ahead reader against the reader it wraps: the same blocks, results
// and errors in the same order, whatever the read-ahead thread had ready.
#include "audio/readahead.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/fakemedia.h"

namespace quillon::audio {
namespace {

using test::FakeFile;
using test::FakeMedia;

constexpr FrameCount kBlock = 4410;

// Waits (bounded) until the thread has filled the reader's queue.
void letItReadAhead(const ReadAheadReader& reader) {
  for (int i = 0; i < 5000 && reader.fillingUp(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

class ReadAhead : public ::testing::Test {
 protected:
  void open(const FakeFile& file) {
    media.add("/tone.wav", file);
    plain = media.createReader();
    ahead = std::make_unique<ReadAheadReader>(media.createReader(), thread);
    ASSERT_EQ(plain->OpenFile("/tone.wav"), 0);
    ASSERT_EQ(ahead->OpenFile("/tone.wav"), 0);
    ASSERT_EQ(ahead->TotalSamples(), plain->TotalSamples());
  }
  // One block from each; they must agree. Returns the result.
  ReadResult readBoth(FrameCount frames, bool wait) {
    if (wait) letItReadAhead(*ahead);
    AudioBlock expected, got;
    const ReadResult want = plain->ReadBlock(frames, expected);
    const ReadResult result = ahead->ReadBlock(frames, got);
    EXPECT_EQ(result, want);
    EXPECT_EQ(got.samples, expected.samples);
    EXPECT_EQ(got.channels, expected.channels);
    if (want == ReadResult::Failed) {
      EXPECT_EQ(ahead->lastError(), plain->lastError());
    }
    return result;
  }
  // Reads both to their end (or failure); the number of blocks of data.
  int readBothToEnd(FrameCount frames, bool wait) {
    int blocks = 0;
    while (readBoth(frames, wait) == ReadResult::Data && blocks < 10000) ++blocks;
    return blocks;
  }

  FakeMedia media;
  ReadAheadThread thread;
  std::unique_ptr<Reader> plain;
  std::unique_ptr<ReadAheadReader> ahead;
};

TEST_F(ReadAhead, GivesTheWrappedReadersBlocksThroughSeeksAndLoops) {
  open({.frames = 100'000});
  EXPECT_EQ(readBoth(kBlock, false), ReadResult::Data);  // the first is read at once
  EXPECT_EQ(ahead->blocksFromReadAhead(), 0);
  // 100 000 frames: 22 blocks and a part; the first was read above.
  EXPECT_EQ(readBothToEnd(kBlock, true), 22);
  EXPECT_GT(ahead->blocksFromReadAhead(), 15);
  // The end again, then a loop back to the start and a jump into the middle.
  EXPECT_EQ(readBoth(kBlock, true), ReadResult::End);
  EXPECT_EQ(ahead->SeekSample(0), plain->SeekSample(0));
  EXPECT_EQ(readBoth(kBlock, true), ReadResult::Data);
  EXPECT_EQ(readBoth(kBlock, true), ReadResult::Data);
  letItReadAhead(*ahead);  // blocks from before the jump must not leak past it
  EXPECT_EQ(ahead->SeekSample(54'321), plain->SeekSample(54'321));
  EXPECT_EQ(readBothToEnd(kBlock, true), 11);  // 45 679 frames left
  // A seek without reading in between, and reads not waiting for the thread.
  EXPECT_EQ(ahead->SeekSample(99'000), plain->SeekSample(99'000));
  EXPECT_EQ(ahead->SeekSample(10), plain->SeekSample(10));
  EXPECT_EQ(readBothToEnd(kBlock, false), 23);
}

TEST_F(ReadAhead, AFailureComesWhereTheWrappedReaderGivesItAndABlockSizeChangeStaysInStep) {
  open({.frames = 100'000, .failReadAt = 30'000});
  // 6 × 4410 = 26 460; the 7th block stops short at 30 000, the 8th fails.
  EXPECT_EQ(readBothToEnd(kBlock, true), 7);
  EXPECT_FALSE(ahead->lastError().empty());
  // A reopened file plays again from the start; a block size changed within
  // the play leaves the blocks read ahead unwanted.
  ASSERT_EQ(ahead->OpenFile("/tone.wav"), plain->OpenFile("/tone.wav"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(readBoth(kBlock, true), ReadResult::Data);
  letItReadAhead(*ahead);
  for (int i = 0; i < 5; ++i) readBoth(1000, i % 2 == 0);
  EXPECT_EQ(readBothToEnd(kBlock, true), 3);  // 30 000 − 18 230 = 11 770 frames
}

TEST_F(ReadAhead, ClosingOrDestroyingWhileTheThreadReadsIsSafe) {
  media.add("/long.wav", {.frames = 10'000'000});
  for (int i = 0; i < 200; ++i) {
    auto reader = std::make_unique<ReadAheadReader>(media.createReader(), thread);
    ASSERT_EQ(reader->OpenFile("/long.wav"), 0);
    AudioBlock block;
    ASSERT_EQ(reader->ReadBlock(kBlock, block), ReadResult::Data);
    if (i % 3 == 0) {
      EXPECT_EQ(reader->SeekSample(kBlock * 3), kBlock * 3);
    }
    if (i % 2 == 0) reader->CloseFile();
  }
}

TEST(ReadAheadWithoutItsThread, ReadsOnTheCallersThread) {
  FakeMedia media;
  media.add("/tone.wav", {.frames = 20'000});
  std::unique_ptr<ReadAheadReader> reader;
  {
    ReadAheadThread thread;
    reader = std::make_unique<ReadAheadReader>(media.createReader(), thread);
  }
  ASSERT_EQ(reader->OpenFile("/tone.wav"), 0);
  AudioBlock block;
  FrameCount frames = 0;
  while (reader->ReadBlock(kBlock, block) == ReadResult::Data) {
    EXPECT_EQ(FakeMedia::frameOf(block.samples.front()), frames % 16384);
    frames += block.frames();
  }
  EXPECT_EQ(frames, 20'000);
  EXPECT_EQ(reader->blocksFromReadAhead(), 0);
}

}  // namespace
}  // namespace quillon::audio
