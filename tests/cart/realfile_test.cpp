// A cart playing real files end to end: read by FFmpeg, played on the
// simulated device with a stepped clock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cart/cartouche.h"
#include "support/ffmpegtestengine.h"

namespace quillon::cart {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// 2.5 s of a 440 Hz tone in that file (an MP3 or a WAV), made once by the
// ffmpeg tool.
std::string toneFile(const char* name) {
  const char* base = std::getenv("QUILLON_TEST_TMP");
  const fs::path folder =
      fs::path(base ? base : fs::temp_directory_path().string()) / "cart-real-files";
  fs::create_directories(folder);
  const fs::path file = folder / name;
  if (!fs::exists(file)) {
    const std::string command =
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i sine=frequency=440:duration=2.5 "
        "-ar 44100 -ac 2 '" +
        file.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
  }
  return file.string();
}

TEST(CartOnRealFiles, PlaysToTheEndAndStopsOrLoopsWithoutStopping) {
  quillon::test::FfmpegTestEngine engine;
  for (const char* name : {"tone.mp3", "tone.wav"}) {
    SCOPED_TRACE(name);
    Cartouche cart(engine);
    ASSERT_TRUE(cart.SetTitle(toneFile(name)));
    // 110250 frames at 44100: 2500 ms, 2 whole seconds (half to even).
    EXPECT_EQ(cart.LengthSeconds(), 2);
    cart.ListenMusic();
    ASSERT_TRUE(cart.Playing()) << cart.lastError();
    engine.clock.advance(2s);
    EXPECT_TRUE(cart.Playing());
    engine.clock.advance(1s);
    EXPECT_FALSE(cart.Playing());

    cart.Setloop(1);
    cart.ListenMusic();
    engine.clock.advance(10s);
    EXPECT_TRUE(cart.Playing());
    EXPECT_EQ(cart.lastError(), "");
  }
}

}  // namespace
}  // namespace quillon::cart
