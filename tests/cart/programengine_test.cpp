// A cart on the program's own engine parts: the file read by FFmpeg through
// the read-ahead reader and its workers, the length found in the background,
// the device player with its blocks carried by the conversion thread, on the
// null device at the file's rate (so every frame heard can be traced back to
// the file's frame it came from), paced by the test.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/backgroundinformation.h"
#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/manualscheduler.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/portaudio/deviceplayer.h"
#include "audio/readahead.h"
#include "audio/readpool.h"
#include "cart/cartgeometry.h"
#include "cart/cartouche.h"
#include "wavfile.h"

namespace quillon::cart {
namespace {

using namespace std::chrono_literals;
using audio::FrameCount;

constexpr int kRate = 44100;
constexpr int kPeriod = 441;  // 10 ms
constexpr FrameCount kFileFrames = 20 * kRate;

class ProgramParts : public audio::Engine {
 public:
  ProgramParts() {
    clock.advance(1s);  // the device's time: a time of 0 is "never"
    std::string error;
    m_stream = devices.stream(0, error);
    EXPECT_NE(m_stream, nullptr) << error;
  }
  ~ProgramParts() override { pool.waitUntilSettled(); }

  std::unique_ptr<audio::Reader> createReader() override {
    return std::make_unique<audio::ReadAheadReader>([this] { return media.createReader(); }, pool,
                                                    clock);
  }
  std::unique_ptr<audio::Information> createInformation() override {
    return std::make_unique<audio::BackgroundInformation>(
        [this] { return media.createInformation(); }, pool, clock);
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    auto player = std::make_unique<audio::DevicePlayer>(clock, devices);
    this->player = player.get();
    return player;
  }
  audio::UiScheduler& scheduler() override { return clock; }

  // One device period: the workers answer, the UI thread runs what they
  // posted, the device mixes, the clock moves on.
  void period() {
    pool.waitUntilSettled();
    clock.runPosted();
    m_stream->mixer().render(m_out.data(), kPeriod, 2, clock.now().count());
    heard.insert(heard.end(), m_out.begin(), m_out.end());
    clock.advance(std::chrono::nanoseconds(1'000'000'000LL * kPeriod / kRate));
  }
  void play(std::chrono::milliseconds duration) {
    for (auto p = duration.count() / 10; p > 0; --p) period();
  }
  FrameCount heardFrames() const { return static_cast<FrameCount>(heard.size() / 2); }

  audio::ManualScheduler clock;
  audio::DeviceManager devices{clock,
                               {.useSystemDevices = false,
                                .nullRate = kRate,
                                .nullPeriodFrames = kPeriod,
                                .nullPacedByCaller = true,
                                .convertOnThread = true}};
  audio::FfmpegMedia media;
  audio::ReadPool pool;
  audio::DevicePlayer* player = nullptr;
  std::vector<std::int16_t> heard;  // interleaved stereo, every frame mixed

 private:
  audio::OutputStream* m_stream = nullptr;
  std::vector<std::int16_t> m_out = std::vector<std::int16_t>(2 * kPeriod);
};

// Left: a sawtooth of a prime period; right: one slow ramp over the file.
// Together they name each frame of the file.
std::int16_t leftOf(FrameCount f) { return static_cast<std::int16_t>((f % 1009) * 24 - 12000); }
std::int16_t rightOf(FrameCount f) {
  return static_cast<std::int16_t>(f * 24000 / kFileFrames - 12000);
}

// The file's frame that sounds exactly as the heard frame, if any (a frame
// heard through a fade matches none).
std::optional<FrameCount> fileFrameOf(std::int16_t left, std::int16_t right) {
  if ((left + 12000) % 24 != 0) return std::nullopt;
  const FrameCount phase = (left + 12000) / 24;
  const FrameCount from = (right + 12000) * kFileFrames / 24000;
  for (FrameCount f = from - from % 1009 + phase; f < from + 1009 + 2 * kFileFrames / 24000;
       f += 1009) {
    if (f >= from && f < kFileFrames && rightOf(f) == right && leftOf(f) == left) return f;
  }
  return std::nullopt;
}

// The first device frame at or after `from` that is not silent.
FrameCount firstSound(const std::vector<std::int16_t>& heard, FrameCount from) {
  const auto frames = static_cast<FrameCount>(heard.size() / 2);
  while (from < frames && heard[2 * from] == 0 && heard[2 * from + 1] == 0) ++from;
  return from;
}

// Checks that what is heard from device frame `from` to `to` is the file from
// `fileStart` on, frame after frame with none lost or repeated, once the
// play begins: within 10 ms of `from` (a cut play fades out first), and past
// its first 10 ms (the fade-in).
void expectRunsOn(const std::vector<std::int16_t>& heard, FrameCount from, FrameCount to,
                  FrameCount fileStart) {
  const FrameCount tenMs = kRate / 100;
  FrameCount d = firstSound(heard, from) + 2 * tenMs;
  ASSERT_LT(d, to) << "nothing heard from device frame " << from;
  const auto f = fileFrameOf(heard[2 * d], heard[2 * d + 1]);
  ASSERT_TRUE(f.has_value()) << "device frame " << d << " is no frame of the file";
  const FrameCount begins = d - (*f - fileStart);
  ASSERT_GE(begins, from);
  ASSERT_LE(begins, from + tenMs);
  for (d = begins + tenMs; d < to; ++d) {
    const auto g = fileFrameOf(heard[2 * d], heard[2 * d + 1]);
    ASSERT_TRUE(g.has_value()) << "device frame " << d << " is no frame of the file";
    ASSERT_EQ(*g, fileStart + (d - begins)) << "device frame " << d;
  }
}

TEST(CartOnTheProgramEngine, WhatIsHeardRunsOnAcrossAPauseAndFromTheTargetAfterASeek) {
  std::vector<std::int16_t> file;
  for (FrameCount f = 0; f < kFileFrames; ++f) file.insert(file.end(), {leftOf(f), rightOf(f)});
  const std::string path = test::writeWav("program-engine", kRate, file);
  ASSERT_FALSE(path.empty());

  ProgramParts engine;
  Cartouche cart(engine);
  ASSERT_TRUE(cart.SetTitle(path));
  for (int i = 0; i < 100 && cart.lengthPending(); ++i) engine.period();
  ASSERT_FALSE(cart.lengthPending());
  cart.playClick();
  ASSERT_TRUE(cart.Playing());
  const FrameCount started = engine.heardFrames();

  // Pause once 12.3 s of the file has been heard.
  while (engine.player->PlayedSamples() < 123 * kRate / 10) engine.period();
  const FrameCount pausedAt = engine.heardFrames();
  const FrameCount heardBeforePause = engine.player->PlayedSamples();
  cart.pauseClick();
  ASSERT_TRUE(cart.Paused());
  EXPECT_EQ(cart.SampleOffset(), heardBeforePause);
  expectRunsOn(engine.heard, started, pausedAt, 0);
  engine.play(1000ms);
  for (FrameCount d = pausedAt + kRate / 10; d < engine.heardFrames(); ++d) {
    ASSERT_EQ(engine.heard[2 * d], 0) << "sound while paused, device frame " << d;
  }

  // The play resumes with the frame after the last heard before the pause.
  const FrameCount resumedAt = engine.heardFrames();
  cart.pauseClick();
  ASSERT_FALSE(cart.Paused());
  engine.play(2000ms);
  expectRunsOn(engine.heard, resumedAt, engine.heardFrames(), heardBeforePause);
  // The player's count is what was heard since the resume.
  EXPECT_EQ(engine.player->PlayedSamples(),
            engine.heardFrames() - firstSound(engine.heard, resumedAt));

  // A jump to the middle of the track: what follows is the file from the
  // cart's new position.
  ASSERT_TRUE(cart.thumbPress(0));
  cart.thumbMove(-geometry::kPositionTrack.width, 0);  // to the left end
  cart.thumbMove(geometry::thumbTravel() / 2, 0);
  cart.thumbRelease();
  const FrameCount target = cart.SampleOffset();
  EXPECT_GT(target, 9 * kRate);
  EXPECT_LT(target, 11 * kRate);
  const FrameCount seekedAt = engine.heardFrames();
  engine.play(2000ms);
  expectRunsOn(engine.heard, seekedAt, engine.heardFrames(), target);
  EXPECT_EQ(engine.player->UnderrunCount(), 0);
  cart.stopClick();
  engine.play(100ms);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace quillon::cart
