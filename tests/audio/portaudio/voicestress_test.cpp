// The voice's two queues under real concurrency: a UI thread queueing
// thousands of blocks (and resetting) against a thread mixing as a device
// callback would, with every frame that comes out checked.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "audio/portaudio/mixer.h"

namespace quillon::audio {
namespace {

using namespace std::chrono_literals;

constexpr int kFullMarker = 10000;  // right channel of full-level frames: >= this

// Blocks whose left channel counts up from `first` and whose right channel
// names the play (kFullMarker + play). Frames of a fade have a right channel
// below kFullMarker, silence has 0.
std::unique_ptr<VoiceBlock> markedBlock(int frames, int first, int play) {
  auto b = std::make_unique<VoiceBlock>();
  for (int i = 0; i < frames; ++i) {
    b->samples.push_back(static_cast<std::int16_t>(1 + (first + i) % 30000));
    b->samples.push_back(static_cast<std::int16_t>(kFullMarker + play));
  }
  return b;
}

// A voice mixed on a thread of its own, as a device callback would, with
// every frame that comes out checked.
class VoiceStress : public ::testing::Test {
 protected:
  void SetUp() override {
    epoch = voice->command(true);
    audio = std::thread([this] {
      std::vector<std::int16_t> out(2 * 64);
      while (!stop.load()) {
        mixer.render(out.data(), 64, 2, 0);
        check(out);
        std::this_thread::yield();
      }
    });
  }
  void TearDown() override { stopMixing(); }
  void stopMixing() {
    stop = true;
    if (audio.joinable()) audio.join();
  }
  void push(std::unique_ptr<VoiceBlock> block) {
    while (voice->full()) std::this_thread::yield();
    ASSERT_TRUE(voice->push(std::move(block)));
  }
  void check(const std::vector<std::int16_t>& out) {
    for (std::size_t i = 0; i < out.size(); i += 2) {
      const int left = out[i];
      const int right = out[i + 1];
      if (right == 0 && left == 0) continue;  // silence: nothing queued yet
      ++frames;
      if (right < kFullMarker) continue;  // a fade
      const int play = right - kFullMarker;
      ++fullFrames;
      if (play < lastPlay) ++errors;  // an older play heard after a newer one
      // Same play: the count goes on by exactly the frames in between (fade
      // frames of the same play included).
      if (play == lastPlay && left != 1 + (lastLeft - 1 + (frames - lastFrame)) % 30000) ++errors;
      lastPlay = play;
      lastLeft = left;
      lastFrame = frames;
    }
  }

  Mixer mixer{48000};
  Voice* voice = mixer.claimVoice();
  std::uint32_t epoch = 0;
  std::atomic<bool> stop{false};  // seq_cst: a plain flag, read each render
  std::thread audio;
  // Audio thread only until it is joined.
  long frames = 0;      // non-silent frames heard
  long fullFrames = 0;  // frames at full level
  long errors = 0;
  int lastPlay = -1;
  int lastLeft = 0;
  long lastFrame = -1;  // index in `frames` of the last full-level frame
};

TEST_F(VoiceStress, ThousandsOfBlocksArriveWholeAndInOrder) {
  long queued = 0;
  for (int block = 0; block < 5000; ++block) {
    const int size = 20 + (block * 37) % 300;
    push(markedBlock(size, static_cast<int>(queued), 0));
    queued += size;
  }
  auto end = std::make_unique<VoiceBlock>();
  end->endOfFile = true;
  push(std::move(end));
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!voice->progress(epoch).ended && std::chrono::steady_clock::now() < deadline) {
    voice->reclaim();
    std::this_thread::sleep_for(1ms);
  }
  stopMixing();
  EXPECT_TRUE(voice->progress(epoch).ended);
  EXPECT_EQ(voice->progress(epoch).frames, queued);
  EXPECT_EQ(errors, 0);
  EXPECT_EQ(frames, queued);  // every frame queued was heard once: none lost, none repeated
  voice->reclaim();
  EXPECT_FALSE(voice->full());
}

TEST_F(VoiceStress, ResetsUnderLoadNeverLetAnOlderPlayBackIn) {
  int play = 0;
  int first = 0;
  for (int block = 0; block < 4000; ++block) {
    if (block % 100 == 99) {  // ResetOutput: a new play, counting from 0
      voice->command(true);
      ++play;
      first = 0;
    }
    const int size = 40 + (block * 53) % 200;
    push(markedBlock(size, first, play));
    first += size;
  }
  std::this_thread::sleep_for(50ms);
  stopMixing();
  EXPECT_EQ(errors, 0);
  EXPECT_GT(fullFrames, 0);
  EXPECT_GT(lastPlay, 0);
}

}  // namespace
}  // namespace quillon::audio
