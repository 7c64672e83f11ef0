// Remote commands on the real window's carts: a press reaches its cart
// whichever window is in front; stop and panic; and the device list after
// the list was read again.
#include "app/remotecarts.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include "app/quietwindow.h"

namespace quillon::app {
namespace {

class RemoteCartsTest : public testing::Test, public test::QuietWindow {
 protected:
  void SetUp() override {
    engine.devices.setDevices({{"Built-in", true}, {"Studio", true}}, 0);
    window = makeWindow();
    loadCarts(*window);  // A to C playing, D paused, E stopped, F empty
  }
  cart::Cartouche& cart(int k) { return window->cart(k)->cart(); }

  std::unique_ptr<Cartoucheur> window;
};

TEST_F(RemoteCartsTest, APressTogglesItsCartWhicheverWindowIsInFrontAndStopOnlyStops) {
  QWidget other;  // another window in front: the keyboard would not fire
  other.show();
  other.activateWindow();
  RemoteCarts remote(*window);
  remote.fire("E", remote::RemoteSource::Osc);
  EXPECT_TRUE(cart(kStopped).Playing());
  remote.fire("E", remote::RemoteSource::Midi);  // a press toggles, as the letter key does
  EXPECT_TRUE(untouched(*window));
  remote.fire("F", remote::RemoteSource::Osc);  // an empty cart ignores its letter
  EXPECT_FALSE(cart(5).Playing());

  remote.stop("A");
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_TRUE(cart(2).Playing());
  remote.stop("A");  // stop never starts a cart
  EXPECT_FALSE(cart(0).Playing());
  remote.panic();
  EXPECT_TRUE(allStopped(*window));
  EXPECT_EQ(cart(2).GetTitle(), "/jingles/ten.wav");  // nothing is emptied
}

TEST_F(RemoteCartsTest, TheListReadAgainShowsTheDeviceChosenOrNone) {
  QComboBox* list = window->controls().deviceList;
  ASSERT_EQ(list->count(), 2);
  EXPECT_TRUE(window->anyCartPlaying());
  window->stopAllCarts();
  EXPECT_FALSE(window->anyCartPlaying());

  // The list read again: the studio card is gone.
  engine.devices.setDevices({{"Built-in", true}}, 0);
  window->chooseDeviceAfterRescan(-1);
  EXPECT_EQ(list->count(), 1);
  EXPECT_EQ(list->currentIndex(), -1);
  EXPECT_EQ(window->AudioPlayerMain()->CurrentDevice(), -1);
  cart(0).ListenMusic();  // no device: the start fails, silently
  EXPECT_FALSE(cart(0).Playing());

  // Back, second in the list.
  engine.devices.setDevices({{"Built-in", true}, {"Studio", true}}, 0);
  window->chooseDeviceAfterRescan(1);
  EXPECT_EQ(list->count(), 2);
  EXPECT_EQ(list->currentText(), "Studio");
  EXPECT_EQ(window->AudioPlayerMain()->CurrentDevice(), 1);
  cart(0).ListenMusic();
  EXPECT_TRUE(cart(0).Playing());
}

}  // namespace
}  // namespace quillon::app
