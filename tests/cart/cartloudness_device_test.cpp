// A normalised cart on a real device: a file written at -30 LUFS, measured
// by the program, fired on the playback ports of a JACK dummy server that
// the test starts; a JACK client of the test's own records what arrives,
// and the ffmpeg tool's meter finds it at the target. Skipped, with the
// reason, only where jackd cannot start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "audio/ffmpeg/ffmpegmedia.h"
#include "audio/jack/jackbackend.h"
#include "audio/loudness/filemeasure.h"
#include "audio/loudness/loudnessservice.h"
#include "audio/manualscheduler.h"
#include "audio/portaudio/deviceplayer.h"
#include "audiofixtures.h"
#include "cart/cartouche.h"
#include "ffmpegloudness.h"
#include "jackrecorder.h"
#include "realtime.h"
#include "support/jackserver.h"

namespace quillon::cart {
namespace {

using namespace std::chrono_literals;

// FFmpeg's reader, JACK's back end alone, the program's loudness service.
class JackEngine : public audio::Engine {
 public:
  explicit JackEngine(const test::ScratchFolder& folder)
      : loudness(audio::measureFileLoudness,
                 std::make_shared<audio::LoudnessCache>(folder.file("loudness.tsv")), clock) {
    std::vector<std::unique_ptr<audio::OutputBackend>> backends;
    backends.push_back(std::make_unique<audio::JackBackend>());
    devices = std::make_unique<audio::DeviceManager>(clock, audio::DeviceManager::Options{},
                                                     std::move(backends));
  }
  std::unique_ptr<audio::Reader> createReader() override { return media.createReader(); }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    return std::make_unique<audio::DevicePlayer>(clock, *devices);
  }
  std::unique_ptr<audio::LoudnessMeter> createLoudnessMeter() override {
    return loudness.createMeter();
  }
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  std::unique_ptr<audio::DeviceManager> devices;
  audio::FfmpegMedia media;
  audio::LoudnessService loudness;
};

TEST(CartLoudnessOnJack, AQuietFileArrivesAtTheTarget) {
  const std::string server = "quillon-loudness-" + std::to_string(::getpid());
  ::setenv("JACK_DEFAULT_SERVER", server.c_str(), 1);
  test::JackServer jack(server);
  std::string error;
  if (!jack.start(error)) GTEST_SKIP() << "jackd cannot start here (" << error << ")";

  const test::ScratchFolder folder;
  const std::string path = folder.file("quiet.wav");
  ASSERT_TRUE(test::makeAtLoudness(
      "anoisesrc=color=pink:sample_rate=48000:duration=5:seed=11:amplitude=0.5", "-c:a pcm_s16le",
      -30.0, path));

  JackEngine engine(folder);
  Cartouche cart(engine);
  cart.setLoudness(engine.createLoudnessMeter(), {-23.0, -1.0});
  ASSERT_TRUE(cart.SetTitle(path));
  engine.loudness.waitUntilSettled();
  engine.clock.runPosted();
  ASSERT_NE(cart.look().loudness.find("LUFS"), std::string::npos) << cart.look().loudness;

  int device = -1;
  audio::DevicePlayer finder(engine.clock, *engine.devices);
  for (int d = 0; d < finder.DeviceCount() && device < 0; ++d) {
    finder.SelectDevice(d);
    if (finder.DeviceName() == "system:playback_1+2") device = d;
  }
  ASSERT_GE(device, 0) << "the JACK server's playback ports are not listed";
  ASSERT_TRUE(cart.SetDevOutput(device));

  auto recorder = std::make_unique<test::JackRecorder>(server, 10, error);
  ASSERT_TRUE(recorder->ok()) << error;
  cart.playClick();
  ASSERT_TRUE(cart.Playing()) << cart.lastError();
  ASSERT_TRUE(test::runRealTime(engine.clock, 300ms));
  ASSERT_TRUE(recorder->connectFrom("Quillon", error)) << error;
  const long from = recorder->position();
  ASSERT_TRUE(test::runRealTime(engine.clock, 8s, [&] { return !cart.Playing(); }));
  const long to = recorder->position();

  // What arrived, as raw floats, measured by the tool.
  const std::string raw = folder.file("heard.f32");
  std::FILE* out = std::fopen(raw.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  const auto left = recorder->channel(0, from, to);
  const auto right = recorder->channel(1, from, to);
  for (std::size_t i = 0; i < left.size(); ++i) {
    const float frame[2] = {left[i], right[i]};
    std::fwrite(frame, sizeof frame, 1, out);
  }
  std::fclose(out);
  const auto heard = test::loudnessByFfmpegTool(
      raw, "-f f32le -ar " + std::to_string(recorder->sampleRate()) + " -ac 2");
  ASSERT_TRUE(heard);
  EXPECT_NEAR(heard->integratedLufs, -23.0, 0.5);
  recorder.reset();
}

}  // namespace
}  // namespace quillon::cart
