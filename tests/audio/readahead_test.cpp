// The read-ahead reader against the reader it wraps: the same frames,
// results and errors in the same order, whatever its worker had ready; and
// a file whose reads stop answering, which must never hold the caller nor
// another file's reading.
#include "audio/readahead.h"

#include <gtest/gtest.h>

#include <chrono>

#include "audio/manualscheduler.h"
#include "support/fakemedia.h"
#include "support/readgate.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;
using test::FakeFile;
using test::FakeMedia;
using test::GatedReader;
using test::ReadGate;

constexpr FrameCount kBlock = 4410;

struct CountingEvents : ReaderEvents {
  int answered = 0;
  int stalled = 0;
  void ReaderAnswered() override { ++answered; }
  void ReaderStalled() override { ++stalled; }
};

class ReadAhead : public ::testing::Test {
 protected:
  void TearDown() override {
    gate.open();  // no worker may stay held once the test is over
    pool.waitUntilSettled();
  }
  std::unique_ptr<ReadAheadReader> makeReader() {
    auto reader = std::make_unique<ReadAheadReader>(
        [this] { return std::make_unique<GatedReader>(media.createReader(), gate); }, pool, clock);
    reader->setEventHandler(&events);
    return reader;
  }
  // The workers catch up (but for `held` calls at the gate), and their
  // answers are delivered.
  void settle(int held = 0) {
    pool.waitUntilSettled(held);
    clock.runPosted();
  }
  void open(const FakeFile& file) {
    media.add("/tone.wav", file);
    plain = media.createReader();
    ahead = makeReader();
    ASSERT_EQ(plain->OpenFile("/tone.wav"), 0);
    ASSERT_EQ(ahead->OpenFile("/tone.wav"), kFileOpening);
    settle();
    ASSERT_EQ(ahead->FileStatus(), 0);
    ASSERT_EQ(ahead->TotalSamples(), plain->TotalSamples());
  }
  // One block from each; they must agree. `settleFirst`: let the worker
  // fill up before; otherwise a Late answer is waited out.
  ReadResult readBoth(FrameCount frames, bool settleFirst) {
    if (settleFirst) settle();
    AudioBlock expected, got;
    const ReadResult want = plain->ReadBlock(frames, expected);
    ReadResult result = ahead->ReadBlock(frames, got);
    for (int i = 0; i < 3 && result == ReadResult::Late; ++i) {
      settle();
      result = ahead->ReadBlock(frames, got);
    }
    EXPECT_EQ(result, want);
    EXPECT_EQ(got.samples, expected.samples);
    EXPECT_EQ(got.channels, expected.channels);
    if (want == ReadResult::Failed) {
      EXPECT_EQ(ahead->lastError(), plain->lastError());
    }
    return result;
  }
  // A minute-long file whose reads stop answering once what was read ahead
  // has been taken: the worker is held at the gate. Gives the blocks taken.
  int openAndStick() {
    open({.frames = 44'100 * 60});
    gate.close("/tone.wav");
    AudioBlock block;
    int blocks = 0;
    while (ahead->ReadBlock(kBlock, block) == ReadResult::Data) ++blocks;
    gate.waitUntilHeld();
    return blocks;
  }
  // The held read lands long after: the reader tells nothing more.
  void staleReadLands(std::chrono::milliseconds after, int stalled) {
    const int answered = events.answered;
    gate.open();
    settle();
    clock.advance(after);
    EXPECT_EQ(events.answered, answered);
    EXPECT_EQ(events.stalled, stalled);
  }
  int readBothToEnd(FrameCount frames, bool settleFirst) {
    int blocks = 0;
    while (readBoth(frames, settleFirst) == ReadResult::Data && blocks < 10000) ++blocks;
    return blocks;
  }

  FakeMedia media;
  ReadGate gate;
  ManualScheduler clock;
  ReadPool pool;
  CountingEvents events;
  std::unique_ptr<Reader> plain;
  std::unique_ptr<ReadAheadReader> ahead;
};

TEST_F(ReadAhead, GivesTheWrappedReadersFramesThroughSeeksLoopsAndBlockSizeChanges) {
  open({.frames = 100'000});
  EXPECT_EQ(events.answered, 1);  // the open, with its first blocks ready
  EXPECT_GE(ahead->framesReady(), 2 * kBlock);
  // 100 000 frames: 22 blocks and a part.
  EXPECT_EQ(readBothToEnd(kBlock, true), 23);
  EXPECT_EQ(readBoth(kBlock, true), ReadResult::End);
  // A loop back to the start is answered at once, from the file's head.
  EXPECT_EQ(ahead->SeekSample(0), plain->SeekSample(0));
  EXPECT_EQ(readBoth(kBlock, false), ReadResult::Data);
  EXPECT_EQ(readBoth(kBlock, false), ReadResult::Data);
  // Blocks from before a jump never leak past it.
  settle();
  EXPECT_EQ(ahead->SeekSample(54'321), plain->SeekSample(54'321));
  EXPECT_EQ(readBothToEnd(kBlock, false), 11);  // 45 679 frames left
  // Seeks without reading between, then sizes that change within a play.
  EXPECT_EQ(ahead->SeekSample(99'000), plain->SeekSample(99'000));
  EXPECT_EQ(ahead->SeekSample(10), plain->SeekSample(10));
  for (int i = 0; i < 5; ++i) readBoth(i % 2 == 0 ? 1000 : 7000, i % 2 == 0);
  EXPECT_EQ(readBothToEnd(kBlock, true), 19);  // 100 000 − 10 − 17 000 = 82 990 frames
}

TEST_F(ReadAhead, AFailureComesWhereTheWrappedReaderGivesIt) {
  open({.frames = 100'000, .failReadAt = 30'000});
  // 6 × 4410 = 26 460; the 7th block stops short at 30 000, the 8th fails.
  EXPECT_EQ(readBothToEnd(kBlock, true), 7);
  EXPECT_FALSE(ahead->lastError().empty());
  // A file that cannot be opened answers with its failure.
  auto other = makeReader();
  EXPECT_EQ(other->OpenFile("/nowhere.wav"), kFileOpening);
  settle();
  EXPECT_LT(other->FileStatus(), 0);
  EXPECT_EQ(other->lastError(), "cannot open /nowhere.wav");
}

TEST_F(ReadAhead, ClosingOrDestroyingWhileAWorkerReadsIsSafe) {
  media.add("/long.wav", {.frames = 10'000'000});
  for (int i = 0; i < 200; ++i) {
    auto reader = makeReader();
    reader->OpenFile("/long.wav");
    if (i % 2 == 0) settle();
    if (i % 3 == 0) reader->SeekSample(kBlock * 3);
    AudioBlock block;
    reader->ReadBlock(kBlock, block);
    if (i % 5 == 0) reader->CloseFile();
  }
  settle();
}

// --- A disk that stops answering ---

TEST_F(ReadAhead, AStuckReadNeverHoldsTheCallerAndGivesTheFileUpAfterTheBound) {
  // What was read ahead still comes; then the worker is held at the gate.
  EXPECT_GE(openAndStick(), 2);
  settle(1);
  AudioBlock block;
  EXPECT_EQ(ahead->ReadBlock(kBlock, block), ReadResult::Late);
  EXPECT_TRUE(block.empty());
  // A seek does not wait either; the reads stay late.
  EXPECT_EQ(ahead->SeekSample(kBlock * 100), kBlock * 100);
  EXPECT_EQ(ahead->ReadBlock(kBlock, block), ReadResult::Late);

  clock.advance(1900ms);
  EXPECT_EQ(events.stalled, 0);
  clock.advance(300ms);  // 2 s and a watch period after the wait began
  EXPECT_EQ(events.stalled, 1);
  EXPECT_EQ(ahead->FileStatus(), ReadAheadReader::kStalled);
  EXPECT_EQ(ahead->lastError(), "The file did not answer within 2 s: /tone.wav");
  EXPECT_EQ(ahead->ReadBlock(kBlock, block), ReadResult::Failed);

  // The read returns long after: nothing changes, nothing is told.
  staleReadLands(1s, 1);
  EXPECT_EQ(ahead->FileStatus(), ReadAheadReader::kStalled);
}

TEST_F(ReadAhead, ACloseOrANewFileDoesNotWaitForAStuckRead) {
  openAndStick();
  media.add("/other.wav", {.frames = 44'100 * 5});
  AudioBlock block;
  // The same reader takes another file while the stale read is held.
  ASSERT_EQ(ahead->OpenFile("/other.wav"), kFileOpening);
  settle(1);
  EXPECT_EQ(ahead->FileStatus(), 0);
  EXPECT_EQ(ahead->TotalSamples(), 44'100 * 5);
  ASSERT_EQ(ahead->ReadBlock(kBlock, block), ReadResult::Data);
  EXPECT_EQ(FakeMedia::frameOf(block.samples.front()), 0);  // the new file's first frame
  ahead->CloseFile();
  EXPECT_LT(ahead->FileStatus(), 0);
  // The stale read lands: the closed reader hears nothing of it.
  staleReadLands(3s, 0);
}

TEST_F(ReadAhead, OneStuckFileNeverHoldsAnotherFilesReading) {
  media.add("/stuck.wav", {.frames = 44'100 * 60});
  media.add("/fine.wav", {.frames = 44'100 * 3});
  gate.close("/stuck.wav");
  auto stuck = makeReader();
  stuck->OpenFile("/stuck.wav");  // the open itself is held
  gate.waitUntilHeld();
  auto fine = makeReader();
  fine->OpenFile("/fine.wav");
  settle(1);
  ASSERT_EQ(fine->FileStatus(), 0);
  AudioBlock block;
  FrameCount frames = 0;
  for (int i = 0; i < 100; ++i) {
    const ReadResult result = fine->ReadBlock(kBlock, block);
    if (result == ReadResult::End) break;
    if (result == ReadResult::Late) {
      settle(1);
      continue;
    }
    ASSERT_EQ(result, ReadResult::Data);
    frames += block.frames();
  }
  EXPECT_EQ(frames, 44'100 * 3);
  EXPECT_EQ(stuck->FileStatus(), kFileOpening);
  clock.advance(2100ms);
  EXPECT_EQ(stuck->FileStatus(), ReadAheadReader::kStalled);
  EXPECT_EQ(fine->FileStatus(), 0);
}

}  // namespace
}  // namespace quillon::audio
