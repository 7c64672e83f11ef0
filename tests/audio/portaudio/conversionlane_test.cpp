// The conversion lane against the converter it runs: the same device frames,
// in the same order, whether a block was converted on the caller's thread or
// on the conversion thread, across resets and a thread that stops first.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "audio/portaudio/conversionthread.h"
#include "audio/portaudio/rateconverter.h"
#include "tone.h"

namespace quillon::audio {
namespace {

constexpr int kDeviceRate = 48000;

std::vector<AudioBlock> tone(const AudioFormat& format, const std::vector<int>& sizes) {
  std::vector<AudioBlock> blocks;
  long first = 0;
  for (int frames : sizes) {
    blocks.push_back(
        test::sineBlock(format.sampleRate, format.channels, 997, 12000, first, frames));
    first += frames;
  }
  return blocks;
}

// What the converter alone makes of the blocks, then its flush.
std::vector<std::int16_t> converted(const AudioFormat& format,
                                    const std::vector<AudioBlock>& blocks) {
  RateConverter converter;
  std::string error;
  EXPECT_TRUE(converter.configure(format, kDeviceRate, error)) << error;
  std::vector<std::int16_t> out;
  for (const auto& b : blocks)
    EXPECT_TRUE(converter.convert(b.samples.data(), b.frames(), out, error));
  EXPECT_TRUE(converter.flush(out, error));
  return out;
}

// Takes blocks until the end block (bounded wait); their frames, joined.
std::vector<std::int16_t> takeToEnd(ConversionLane& lane, std::vector<std::int16_t> out = {}) {
  for (int waited = 0; waited < 5000; ++waited) {
    while (auto block = lane.take()) {
      out.insert(out.end(), block->samples.begin(), block->samples.end());
      if (block->endOfFile) {
        EXPECT_EQ(lane.take(), nullptr) << "a block after the end";
        return out;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ADD_FAILURE() << "the end never came";
  return out;
}

TEST(ConversionLane, GivesTheConvertersFramesInOrderWhicheverThreadConverts) {
  const std::vector<int> sizes = {4410, 1, 100, 7000, 4410, 3, 4410, 2205, 4410, 4410, 999, 4410};
  ConversionThread thread;
  std::mt19937 random(7);
  for (const AudioFormat format : {AudioFormat{44100, 2}, AudioFormat{22050, 1},
                                   AudioFormat{48000, 2}, AudioFormat{48000, 1}}) {
    SCOPED_TRACE(std::to_string(format.sampleRate) + " Hz, " + std::to_string(format.channels));
    const auto blocks = tone(format, sizes);
    const auto expected = converted(format, blocks);
    for (int round = 0; round < 20; ++round) {
      ConversionLane lane(round % 5 == 4 ? nullptr : &thread);
      std::string error;
      ASSERT_TRUE(lane.configure(format, kDeviceRate, error)) << error;
      std::vector<std::int16_t> got;
      for (std::size_t i = 0; i < blocks.size(); ++i) {
        // The first block here, as a play starts; then here or not at random,
        // with blocks taken as they come, as the player's service does.
        lane.submit(blocks[i], i == 0 || random() % 4 == 0);
        if (random() % 2 == 0) {
          while (auto block = lane.take())
            got.insert(got.end(), block->samples.begin(), block->samples.end());
        }
      }
      lane.submitEnd(random() % 2 == 0);
      got = takeToEnd(lane, std::move(got));
      EXPECT_EQ(lane.takeError(), "");
      ASSERT_EQ(got.size(), expected.size());
      ASSERT_TRUE(got == expected);
    }
  }
}

TEST(ConversionLane, AResetDropsWhateverWaitsAndTheNextPlayStartsFresh) {
  const AudioFormat format{44100, 2};
  const auto before = tone(format, std::vector<int>(10, 4410));
  const auto after = tone(format, {4410, 4410, 2000});
  const auto expected = converted(format, after);
  ConversionThread thread;
  ConversionLane lane(&thread);
  std::string error;
  ASSERT_TRUE(lane.configure(format, kDeviceRate, error));
  for (int round = 0; round < 50; ++round) {
    SCOPED_TRACE(round);
    for (const auto& b : before) lane.submit(b, false);
    // A reset at any point of the thread's work.
    std::this_thread::sleep_for(std::chrono::microseconds(round * 40));
    ASSERT_TRUE(lane.reset(error)) << error;
    for (const auto& b : after) lane.submit(b, false);
    lane.submitEnd(false);
    ASSERT_TRUE(takeToEnd(lane) == expected);
  }
}

TEST(ConversionLane, LanesDestroyedWhileConvertingOrOutlivingTheirThread) {
  const AudioFormat format{44100, 1};
  const auto blocks = tone(format, std::vector<int>(6, 4410));
  const auto expected = converted(format, blocks);
  auto thread = std::make_unique<ConversionThread>();
  std::vector<std::unique_ptr<ConversionLane>> lanes;
  std::string error;
  for (int i = 0; i < 100; ++i) {
    lanes.push_back(std::make_unique<ConversionLane>(thread.get()));
    ASSERT_TRUE(lanes.back()->configure(format, kDeviceRate, error));
    for (std::size_t b = 0; b + 1 < blocks.size(); ++b) lanes.back()->submit(blocks[b], false);
  }
  // Half go while the thread converts their blocks; then the thread stops
  // with blocks of the others still waiting: their callers convert them.
  for (std::size_t i = 0; i < lanes.size(); i += 2) lanes[i].reset();
  thread.reset();
  for (std::size_t i = 1; i < lanes.size(); i += 2) {
    lanes[i]->submit(blocks.back(), false);
    lanes[i]->submitEnd(false);
    ASSERT_TRUE(takeToEnd(*lanes[i]) == expected) << "lane " << i;
  }
}

}  // namespace
}  // namespace quillon::audio
