// A cart on real WAV files, read by FFmpeg and played by the device player on
// the 48 kHz null device, paced by the test: every frame the device plays is
// kept and checked. A loop equals the file looped offline through the same
// rate conversion, frame for frame; fades follow their linear ramps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "audio/portaudio/rateconverter.h"
#include "cart/cartouche.h"
#include "deviceengine.h"
#include "support/pacedrender.h"
#include "wavfile.h"

namespace quillon::cart {
namespace {

using namespace std::chrono_literals;
using audio::FrameCount;

constexpr int kFileRate = 44100;
constexpr int kDeviceRate = 48000;

// The cart's engine: FFmpeg's reader, the device player on the null device
// that the test renders itself.
class PacedEngine : public test::DeviceEngine {
 public:
  PacedEngine()
      : DeviceEngine(
            {.useSystemDevices = false, .nullRate = kDeviceRate, .nullPacedByCaller = true}) {}

  // Renders the device for `duration`, keeping what it plays (left, right).
  void play(std::chrono::milliseconds duration) {
    std::string error;
    ASSERT_TRUE(m_paced.play(duration, error, [this](std::span<const std::int16_t> out) {
      heard.insert(heard.end(), out.begin(), out.end());
    })) << error;
  }

  std::vector<std::int16_t> heard;  // interleaved stereo at the device's rate

 private:
  test::PacedRender m_paced{clock, *devices, kDeviceRate};
};

// Left: a sawtooth of a prime period (a frame lost or repeated shifts it);
// right: one slow ramp over the file (a whole period lost shows there).
std::vector<std::int16_t> countingSignal(FrameCount frames) {
  std::vector<std::int16_t> s;
  for (FrameCount f = 0; f < frames; ++f) {
    s.push_back(static_cast<std::int16_t>((f % 1009) * 24 - 12000));
    s.push_back(static_cast<std::int16_t>(f * 24000 / frames - 12000));
  }
  return s;
}

// The first frame where `heard` is not silent.
std::size_t firstSound(const std::vector<std::int16_t>& heard) {
  const auto it = std::find_if(heard.begin(), heard.end(), [](std::int16_t s) { return s != 0; });
  return static_cast<std::size_t>(it - heard.begin()) / 2;
}

TEST(LoopOnTheDevice, FivePassesEqualTheFileLoopedOfflineThroughTheSameConversion) {
  for (const double seconds : {1.0, 1.4, 2.4, 10.4}) {
    SCOPED_TRACE(seconds);
    const FrameCount total = std::lround(seconds * kFileRate);
    const std::vector<std::int16_t> file = countingSignal(total);
    const std::string path = test::writeWav("counting", kFileRate, file);
    ASSERT_FALSE(path.empty());

    PacedEngine engine;
    Cartouche cart(engine);
    ASSERT_TRUE(cart.SetTitle(path));
    cart.Setloop(1);
    cart.playClick();
    ASSERT_TRUE(cart.Playing());
    engine.play(std::chrono::milliseconds(std::lround(seconds * 5000) + 200));
    EXPECT_TRUE(cart.Playing());

    // Offline: five passes end to end through a converter of the same kind.
    std::vector<std::int16_t> fivePasses;
    for (int pass = 0; pass < 5; ++pass)
      fivePasses.insert(fivePasses.end(), file.begin(), file.end());
    audio::RateConverter converter;
    std::string error;
    ASSERT_TRUE(converter.configure({kFileRate, 2}, kDeviceRate, error)) << error;
    std::vector<std::int16_t> expected;
    ASSERT_TRUE(converter.convert(fivePasses.data(), 5 * total, expected, error)) << error;

    // From past the device's fade-in at the start to the fifth pass's end,
    // less what the converter still held back there.
    const std::size_t start = firstSound(engine.heard);
    const std::size_t frames = expected.size() / 2 - 64;
    ASSERT_GE(engine.heard.size() / 2, start + frames);
    int worst = 0;
    std::size_t worstAt = 0;
    for (std::size_t k = 512; k < frames; ++k) {
      for (std::size_t c = 0; c < 2; ++c) {
        const int d = std::abs(engine.heard[2 * (start + k) + c] - expected[2 * k + c]);
        if (d > worst) {
          worst = d;
          worstAt = k;
        }
      }
    }
    EXPECT_LE(worst, 1) << "at device frame " << worstAt << " (pass "
                        << worstAt * kFileRate / kDeviceRate / total + 1 << ")";
    cart.stopClick();
    std::filesystem::remove(path);
  }
}

// A steady tone with both fades: in every 10 ms window where the ramp is
// above -40 dB, the level heard is the ramp's within 0.5 dB; after the last
// frame, silence.
TEST(FadesOnTheDevice, FollowTheirLinearRampsWithinHalfADecibelToSilenceOnTheLastFrame) {
  const double seconds = 7.3;
  const FrameCount total = std::lround(seconds * kFileRate);
  const double amplitude = 16000;
  std::vector<std::int16_t> tone;
  for (FrameCount f = 0; f < total; ++f) {
    const auto s = static_cast<std::int16_t>(
        std::lrint(amplitude * std::sin(2 * M_PI * 997.0 * static_cast<double>(f) / kFileRate)));
    tone.push_back(s);
    tone.push_back(s);
  }
  const std::string path = test::writeWav("tone", kFileRate, tone);
  ASSERT_FALSE(path.empty());
  PacedEngine engine;
  Cartouche cart(engine);
  ASSERT_TRUE(cart.SetTitle(path));
  cart.SetVolume(80);
  cart.SetFadein(1);
  cart.SetFadeout(1);
  cart.playClick();
  engine.play(std::chrono::milliseconds(std::lround(seconds * 1000) + 300));
  EXPECT_FALSE(cart.Playing());

  // The first frame heard is the file's first (0 at the start of the ramp
  // and of the sine): find it from the first sound, one frame early.
  const std::size_t start = firstSound(engine.heard) - 1;
  const double deviceFrames = static_cast<double>(total) * kDeviceRate / kFileRate;
  const auto ramp = [&](double deviceFrame) {
    const double t = deviceFrame / kDeviceRate;         // seconds into the file
    const double left = (total - 1.0) / kFileRate - t;  // to the last frame
    return std::clamp(std::min(t / 3.0, left / 3.0), 0.0, 1.0);
  };
  constexpr int kWindow = kDeviceRate / 100;
  int windows = 0;
  for (int w = 0; (w + 1) * kWindow <= deviceFrames; ++w) {
    const double middle = (w + 0.5) * kWindow;
    const double want = 0.8 * amplitude * ramp(middle) / std::sqrt(2.0);
    if (want < 0.8 * amplitude / std::sqrt(2.0) / 100) continue;  // below -40 dB
    double sum = 0;
    for (int k = 0; k < kWindow; ++k) {
      const double x = engine.heard[2 * (start + static_cast<std::size_t>(w * kWindow + k))];
      sum += x * x;
    }
    const double got = std::sqrt(sum / kWindow);
    EXPECT_NEAR(20 * std::log10(got / want), 0.0, 0.5)
        << "window at " << middle / kDeviceRate << " s";
    ++windows;
  }
  EXPECT_GT(windows, 650);
  // Near silence in the last millisecond, and nothing after the last frame.
  const auto end = start + static_cast<std::size_t>(std::lround(deviceFrames));
  for (std::size_t f = end - kDeviceRate / 1000; f < end + 2000; ++f) {
    ASSERT_LE(std::abs(engine.heard[2 * f]), 20) << "device frame " << f - end << " from the end";
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace quillon::cart
