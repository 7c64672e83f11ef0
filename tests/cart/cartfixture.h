// A cart on the test engine, with helpers to bind fake files and to let the
// manual clock run.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "carttestengine.h"

namespace quillon::cart::test {

using namespace std::chrono_literals;

class CartTest : public ::testing::Test {
 public:
  void SetUp() override { cart.setListener(&listener); }

  RecordingPlayer& player() { return *engine.lastPlayer; }
  quillon::test::FakeMedia& media() { return engine.media; }

  // Adds a fake file of that many seconds (44100 Hz stereo ramp).
  void addFile(const std::string& path, double seconds) {
    quillon::test::FakeFile file;
    file.frames = framesOf(seconds);
    media().add(path, file);
  }
  // Adds and binds it.
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
  // Lets `d` of time pass from now.
  void advance(std::chrono::nanoseconds d) { engine.clock.advance(d); }
  // Lets time pass up to `t` after the start of the test's clock.
  void advanceTo(std::chrono::nanoseconds t) { engine.clock.advance(t - engine.clock.now()); }

  CartTestEngine engine;
  Cartouche cart{engine};
  CountingListener listener;
};

}  // namespace quillon::cart::test
