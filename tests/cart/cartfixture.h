// The cart tests' fake engine, whose player records what it was given
// (every block queued, and how much of each output run was played before a
// reset or close, so a test rebuilds the sound as heard), and a cart on it
// with helpers to bind fake files and to let the manual clock run.
// Single-threaded.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "support/simulatedplayer.h"
#include "cart/cartouche.h"
#include "support/fakeengine.h"

namespace quillon::cart::test {

using namespace std::chrono_literals;
using audio::AudioBlock;
using audio::FrameCount;

class RecordingPlayer : public audio::SimulatedPlayer {
 public:
  // One run of the output, from an open or reset to the next reset or close.
  struct Run {
    std::vector<AudioBlock> blocks;
    FrameCount played = -1;  // -1 while the run goes on
  };

  using SimulatedPlayer::SimulatedPlayer;

  int OpenOutput() override;
  bool QueueBlock(AudioBlock block) override;
  void ResetOutput() override;
  void CloseOutput() override;

  const std::vector<Run>& runs() const { return m_runs; }
  // The left channel of every frame heard, in order, over all runs.
  std::vector<std::int16_t> heardLeft() const;
  // The gain in percent of each block of run `run`, against the fake files'
  // ramp, the run starting at `startFrame` of the file. The short last block
  // of a file may measure badly: -1 when it has too little signal.
  std::vector<int> blockGains(std::size_t run, FrameCount startFrame) const;
  // Underruns counted over all runs that have ended.
  std::int64_t underruns() const { return m_underruns; }

 private:
  void endRun();

  std::vector<Run> m_runs;
  bool m_running = false;
  std::int64_t m_underruns = 0;
};

// Carts made while `rateless` is set analyse every file "successfully"
// with a sample rate of 0, as a broken decoder might report; while one of
// the `…Throw` switches is set, that reader call throws, as a decoder bug
// might.
class CartTestEngine : public quillon::test::FakeEngine {
 public:
  std::unique_ptr<audio::Reader> createReader() override;
  std::unique_ptr<audio::Player> createPlayer() override;
  std::unique_ptr<audio::Information> createInformation() override;

  RecordingPlayer* lastPlayer = nullptr;
  bool rateless = false;
  struct Throws {
    bool reads = false;
    bool opens = false;
    bool seeks = false;
    bool closes = false;
  } throws;
  bool& readsThrow = throws.reads;
};

// Frames of `seconds` at the fake files' rate of 44100.
constexpr FrameCount framesOf(double seconds) {
  return static_cast<FrameCount>(seconds * 44100 + 0.5);
}

// True when the heard frames are the file's frames from `first` on, in order,
// with nothing skipped or repeated (only at gain 100).
::testing::AssertionResult heardInOrder(const std::vector<std::int16_t>& heard, FrameCount first,
                                        FrameCount count);

// Counts what the cart tells its host and view.
struct CountingListener : CartListener {
  int affectFile = 0;
  std::vector<LookParts> changes;
  void AffectFile() override { ++affectFile; }
  void lookChanged(LookParts parts) override { changes.push_back(parts); }
  int changesWith(LookParts part) const {
    int n = 0;
    for (const LookParts p : changes) n += (p & part) != 0 ? 1 : 0;
    return n;
  }
};

class CartTest : public ::testing::Test {
 public:
  void SetUp() override { cart.setListener(&listener); }

  RecordingPlayer& player() { return *engine.lastPlayer; }
  quillon::test::FakeMedia& media() { return engine.media; }

  // Adds a fake file of that many seconds (44100 Hz stereo ramp), and binds
  // it, and starts it.
  void addFile(const std::string& path, double seconds) {
    media().add(path, {{44100, 2}, framesOf(seconds)});
  }
  void bindFile(const std::string& path, double seconds) {
    addFile(path, seconds);
    ASSERT_TRUE(cart.SetTitle(path));
  }
  void bindAndPlay(const std::string& path, double seconds) {
    bindFile(path, seconds);
    cart.playClick();
    ASSERT_TRUE(cart.Playing());
  }
  // Stopped, and looking it.
  void expectStopped() {
    EXPECT_FALSE(cart.Playing());
    EXPECT_EQ(cart.look().background, Background::Stop);
  }
  // Lets `d` of time pass from now, or up to `t` from the clock's start.
  void advance(std::chrono::nanoseconds d) { engine.clock.advance(d); }
  void advanceTo(std::chrono::nanoseconds t) { engine.clock.advance(t - engine.clock.now()); }

  CartTestEngine engine;
  Cartouche cart{engine};
  CountingListener listener;
};

}  // namespace quillon::cart::test
