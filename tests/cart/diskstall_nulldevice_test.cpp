// The same hanging file under 26 carts, with the players on the program's
// null device (its mixer rendered here, period by period, as the device's
// thread would) instead of the simulated player.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include "audio/manualscheduler.h"
#include "audio/portaudio/devicemanager.h"
#include "audio/portaudio/deviceplayer.h"
#include "audio/readahead.h"
#include "cart/cartouche.h"
#include "support/fakemedia.h"
#include "support/handpacednull.h"
#include "support/pacedrender.h"
#include "support/readgate.h"

namespace quillon::cart::test {
namespace {

using namespace std::chrono_literals;

constexpr int kCarts = 26;
constexpr int kRate = 48000;
constexpr int kPeriod = 256;

class NullDeviceEngine : public audio::Engine {
 public:
  NullDeviceEngine() : devices(clock, quillon::test::handPacedNullDevice(kRate, kPeriod)) {}

  std::unique_ptr<audio::Reader> createReader() override {
    return std::make_unique<audio::ReadAheadReader>(
        [this] { return std::make_unique<quillon::test::GatedReader>(media.createReader(), gate); },
        pool, clock);
  }
  std::unique_ptr<audio::Information> createInformation() override {
    return media.createInformation();
  }
  std::unique_ptr<audio::Player> createPlayer() override {
    auto player = std::make_unique<audio::DevicePlayer>(clock, devices);
    players.push_back(player.get());
    return player;
  }
  audio::UiScheduler& scheduler() override { return clock; }

  audio::ManualScheduler clock;
  audio::DeviceManager devices;
  quillon::test::FakeMedia media;
  quillon::test::ReadGate gate;
  audio::ReadPool pool;
  std::vector<audio::DevicePlayer*> players;
};

class NullDeviceStall : public ::testing::Test {
 public:
  void SetUp() override {
    for (int i = 0; i < kCarts; ++i) {
      const std::string path = "/j/" + std::to_string(i) + ".wav";
      engine.media.add(path, {{44100, 2}, 44100 * 30});
      carts.push_back(std::make_unique<Cartouche>(engine));
      ASSERT_TRUE(carts.back()->SetTitle(path));
    }
  }
  void TearDown() override {
    engine.gate.open();
    engine.pool.waitUntilSettled();
  }
  // Device periods for `total`: before each, the workers catch up (but for
  // `held` calls at the gate) and answer.
  void play(std::chrono::milliseconds total, int held = 0) {
    std::string error;
    ASSERT_TRUE(paced.play(total, error, {}, [this, held] {
      engine.pool.waitUntilSettled(held);
      engine.clock.runPosted();
    })) << error;
  }

  NullDeviceEngine engine;
  quillon::test::PacedRender paced{engine.clock, engine.devices, kRate, kPeriod};
  std::vector<std::unique_ptr<Cartouche>> carts;
};

TEST_F(NullDeviceStall, TwentyFiveCartsPlayOnWithoutAnUnderrunWhileOneFileHangs) {
  for (auto& c : carts) c->playClick();
  play(1000ms);
  for (int i = 0; i < kCarts; ++i) ASSERT_TRUE(carts[static_cast<std::size_t>(i)]->Playing()) << i;

  engine.gate.close("/j/0.wav");
  play(2000ms, 1);
  EXPECT_EQ(engine.gate.held(), 1);
  // Cart A has played out what it had: its own queue ran dry, within the bound.
  EXPECT_TRUE(carts[0]->Playing());
  EXPECT_GE(engine.players[0]->UnderrunCount(), 1);
  play(1500ms, 1);
  EXPECT_FALSE(carts[0]->Playing());
  EXPECT_TRUE(carts[0]->fileMissing());
  for (int i = 1; i < kCarts; ++i) {
    EXPECT_TRUE(carts[static_cast<std::size_t>(i)]->Playing()) << i;
    EXPECT_EQ(engine.players[static_cast<std::size_t>(i)]->UnderrunCount(), 0) << i;
  }
  engine.gate.open();
  play(500ms);
  for (int i = 1; i < kCarts; ++i) {
    EXPECT_EQ(engine.players[static_cast<std::size_t>(i)]->UnderrunCount(), 0) << i;
  }
}

}  // namespace
}  // namespace quillon::cart::test
