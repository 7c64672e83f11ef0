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

struct Checker {
  long frames = 0;      // non-silent frames heard
  long fullFrames = 0;  // frames at full level
  long errors = 0;
  int lastPlay = -1;
  int lastLeft = 0;
  long lastFrame = -1;  // index in `frames` of the last full-level frame

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
      if (play == lastPlay) {
        // Same play: the count goes on by exactly the frames in between
        // (fade frames of the same play included).
        const int expected = 1 + (lastLeft - 1 + static_cast<int>(frames - lastFrame)) % 30000;
        if (left != expected) ++errors;
      }
      lastPlay = play;
      lastLeft = left;
      lastFrame = frames;
    }
  }
};

void mixUntil(Mixer& mixer, std::atomic<bool>& stop, Checker& checker) {
  std::vector<std::int16_t> out(2 * 64);
  while (!stop.load()) {
    mixer.render(out.data(), 64, 2, 0);
    checker.check(out);
    std::this_thread::yield();
  }
}

TEST(VoiceStress, ThousandsOfBlocksArriveWholeAndInOrder) {
  Mixer mixer(48000);
  Voice* voice = mixer.claimVoice();
  const auto epoch = voice->command(true);
  Checker checker;
  std::atomic<bool> stop{false};
  std::thread audio([&] { mixUntil(mixer, stop, checker); });

  long queued = 0;
  for (int block = 0; block < 5000; ++block) {
    const int frames = 20 + (block * 37) % 300;
    auto b = markedBlock(frames, static_cast<int>(queued), 0);
    while (voice->full()) std::this_thread::yield();
    ASSERT_TRUE(voice->push(std::move(b)));
    queued += frames;
  }
  auto end = std::make_unique<VoiceBlock>();
  end->endOfFile = true;
  while (voice->full()) std::this_thread::yield();
  voice->push(std::move(end));
  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!voice->progress(epoch).ended && std::chrono::steady_clock::now() < deadline) {
    voice->reclaim();
    std::this_thread::sleep_for(1ms);
  }
  stop = true;
  audio.join();

  EXPECT_TRUE(voice->progress(epoch).ended);
  EXPECT_EQ(voice->progress(epoch).frames, queued);
  EXPECT_EQ(checker.errors, 0);
  // Every frame queued was heard once: none lost, none repeated.
  EXPECT_EQ(checker.frames, queued);
  voice->reclaim();
  EXPECT_FALSE(voice->full());
}

TEST(VoiceStress, ResetsUnderLoadNeverLetAnOlderPlayBackIn) {
  Mixer mixer(48000);
  Voice* voice = mixer.claimVoice();
  voice->command(true);
  Checker checker;
  std::atomic<bool> stop{false};
  std::thread audio([&] { mixUntil(mixer, stop, checker); });

  int play = 0;
  int first = 0;
  for (int block = 0; block < 4000; ++block) {
    if (block % 100 == 99) {  // ResetOutput: a new play, counting from 0
      voice->command(true);
      ++play;
      first = 0;
    }
    const int frames = 40 + (block * 53) % 200;
    while (voice->full()) std::this_thread::yield();
    ASSERT_TRUE(voice->push(markedBlock(frames, first, play)));
    first += frames;
  }
  std::this_thread::sleep_for(50ms);
  stop = true;
  audio.join();
  EXPECT_EQ(checker.errors, 0);
  EXPECT_GT(checker.fullFrames, 0);
  EXPECT_GT(checker.lastPlay, 0);
}

}  // namespace
}  // namespace quillon::audio
