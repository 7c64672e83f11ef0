// A cart whose loudness is normalised: its measurement held at the gate (the
// test decides when it ends), the clock stepped by hand. A fire before the
// measurement lands starts at once at the plain gain; the gain of the
// measurement applies from the next start; the tooltip tells the operator.
#include <filesystem>
#include <fstream>
#include <memory>

#include "audio/loudness/loudnessservice.h"
#include "cartfixture.h"
#include "support/readgate.h"

namespace quillon::cart::test {
namespace {

namespace fs = std::filesystem;

// The cart test engine with the program's loudness service over a measure
// that waits at the gate and finds every file at -18 LUFS, -10 dBTP, except
// those named "silent", which it cannot measure.
class LoudnessEngine : public CartTestEngine {
 public:
  std::unique_ptr<audio::LoudnessMeter> createLoudnessMeter() override {
    return service.createMeter();
  }

  fs::path folder =
      fs::temp_directory_path() / ("quillon-cartloudness-" + std::to_string(::getpid()));
  quillon::test::ReadGate gate;
  audio::LoudnessService service{
      [this](const std::string& path, const std::atomic<bool>&) -> audio::LoudnessResult {
        gate.pass(path);
        if (path.find("silent") != std::string::npos) return {std::nullopt, "the file is silent"};
        return {audio::LoudnessMeasurement{-18.0, -10.0}, {}};
      },
      std::make_shared<audio::LoudnessCache>(folder / "cache.tsv"), clock};
};

class CartLoudness : public ::testing::Test {
 public:
  CartLoudness() {
    fs::create_directories(engine.folder);
    cart.setListener(&listener);
    cart.setLoudness(engine.createLoudnessMeter(), {-23.0, -1.0});
  }
  ~CartLoudness() override {
    engine.gate.open();
    engine.service.waitUntilSettled();
    fs::remove_all(engine.folder);
  }
  // A file on disk (the measurement looks at it) and in the fake media.
  std::string addFile(const std::string& name) {
    const std::string path = (engine.folder / name).string();
    std::ofstream(path) << name;
    engine.media.add(path, {{44100, 2}, framesOf(3)});
    return path;
  }
  void letMeasurementsLand(int held = 0) {
    engine.service.waitUntilSettled(held);
    engine.clock.runPosted();
  }
  // The gain of the first full block of the last run, in percent.
  int gainOfLastRun() {
    const auto& runs = engine.lastPlayer->runs();
    return engine.lastPlayer->blockGains(runs.size() - 1, 0).at(0);
  }

  LoudnessEngine engine;
  Cartouche cart{engine};
  CountingListener listener;
};

TEST_F(CartLoudness, AFireWhileTheMeasurementIsHeldStartsAtOnceAndTheGainFollowsAtTheNextStart) {
  const std::string path = addFile("jingle.wav");
  engine.gate.close(path);
  ASSERT_TRUE(cart.SetTitle(path));
  engine.gate.waitUntilHeld();
  EXPECT_EQ(cart.look().loudness, "Loudness being measured");

  cart.playClick();  // no wait for the measurement
  ASSERT_TRUE(cart.Playing());
  EXPECT_EQ(cart.normalisation(), 1.0);
  EXPECT_EQ(gainOfLastRun(), 100);

  engine.gate.open();
  letMeasurementsLand();
  // -23 - (-18) = -5 dB; the peak, -10 + -5, stays under -1.
  EXPECT_EQ(cart.look().loudness, "\u221218.0 LUFS, \u22125.0 dB");
  EXPECT_GT(listener.changesWith(kTitlePart), 0);
  EXPECT_EQ(cart.normalisation(), 1.0);  // what plays stays as it started

  cart.stopClick();
  cart.playClick();
  EXPECT_NEAR(cart.normalisation(), 0.5623, 0.0001);  // 10^(-5/20)
  EXPECT_EQ(gainOfLastRun(), 56);

  // The volume applies on top: 50 % of it.
  cart.SetVolume(50);
  cart.stopClick();
  cart.playClick();
  EXPECT_EQ(gainOfLastRun(), 28);
}

TEST_F(CartLoudness, AFileThatCannotBeMeasuredPlaysUnnormalisedAndSaysWhy) {
  ASSERT_TRUE(cart.SetTitle(addFile("silent.wav")));
  letMeasurementsLand();
  EXPECT_EQ(cart.look().loudness, "Loudness not measured: the file is silent");
  cart.playClick();
  EXPECT_EQ(cart.normalisation(), 1.0);
  EXPECT_EQ(gainOfLastRun(), 100);

  // Rebound to a measurable file, then emptied: nothing is said of an empty cart.
  ASSERT_TRUE(cart.SetTitle(addFile("bed.wav")));
  letMeasurementsLand();
  EXPECT_EQ(cart.look().loudness, "\u221218.0 LUFS, \u22125.0 dB");
  cart.StopMyplay();
  EXPECT_EQ(cart.look().loudness, "");
}

TEST(NormalisationRule, TheTargetUnlessThePeakWouldPassTheCeiling) {
  struct Case {
    double lufs, peak, target, ceiling;
    const char* line;  // the gain in dB by hand, one decimal
  };
  const Case cases[] = {
      {-18.4, -10.0, -23.0, -1.0, "\u221218.4 LUFS, \u22124.6 dB"},  // loud: brought down
      {-30.0, -12.0, -23.0, -1.0, "\u221230.0 LUFS, +7.0 dB"},       // quiet: raised
      {-30.0, -3.0, -23.0, -1.0, "\u221230.0 LUFS, +2.0 dB"},        // raised only to the ceiling
      {-14.0, 0.5, -14.0, -1.0, "\u221214.0 LUFS, \u22121.5 dB"},    // over the ceiling already
      {-23.04, -9.0, -23.0, -1.0, "\u221223.0 LUFS, 0.0 dB"},        // no "\u22120.0"
      {-20.0, -8.0, -16.0, -2.0, "\u221220.0 LUFS, +4.0 dB"},
  };
  for (const Case& c : cases) {
    const audio::LoudnessResult measured{audio::LoudnessMeasurement{c.lufs, c.peak}, {}};
    EXPECT_EQ(loudnessLine(false, measured, {c.target, c.ceiling}), c.line);
  }
  // +6.02 dB doubles the amplitude.
  EXPECT_NEAR(normalisationFactor({-29.02, -20.0}, {-23.0, -1.0}), 2.0, 0.001);
}

}  // namespace
}  // namespace quillon::cart::test
