// Remote commands on the real window's carts: a press reaches every cart
// whichever window is in front; stop and panic; and the device list after
// the list was read again.
#include "app/remotecarts.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QWidget>

#include "about/shell.h"
#include "app/cartoucheur.h"
#include "app/configkeys.h"
#include "app/favoritessteps.h"
#include "support/fakeengine.h"

namespace quillon::app {
namespace {

struct NoConfig : ConfigKeys {
  std::string readKey(const std::string&, const std::string&) override { return "1"; }
  void writeKey(const std::string&, const std::string&, const std::string&) override {}
};
struct NoFavorites : FavoritesSteps {
  void EmptyFavorites() override {}
  void LoadFavorites() override {}
  void SaveFavorites() override {}
};
struct NoShell : about::Shell {
  bool ShellOpen(const QString&, const QString&, const QString&) override { return true; }
};

class RemoteCartsTest : public testing::Test {
 protected:
  void SetUp() override {
    engine.devices.setDevices({{"Built-in", true}, {"Studio", true}}, 0);
    window = std::make_unique<Cartoucheur>(engine,
                                           CartoucheurServices{config, favorites, shell, "", {}});
    engine.media.add("/jingles/a.wav", test::FakeFile{{44100, 2}, 441000});
    for (int k : {0, 2, 3}) ASSERT_TRUE(cart(k).SetTitle("/jingles/a.wav"));
  }
  cart::Cartouche& cart(int k) { return window->cart(k)->cart(); }

  test::FakeEngine engine;
  NoConfig config;
  NoFavorites favorites;
  NoShell shell;
  std::unique_ptr<Cartoucheur> window;
};

TEST_F(RemoteCartsTest, APressReachesItsCartWhicheverWindowIsInFront) {
  QWidget other;  // another window in front: the keyboard would not fire
  other.show();
  other.activateWindow();
  RemoteCarts remote(*window);
  remote.fire("C");
  EXPECT_TRUE(cart(2).Playing());
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_FALSE(cart(3).Playing());
  remote.fire("C");  // a press toggles, as the letter key does
  EXPECT_FALSE(cart(2).Playing());
  remote.fire("B");  // an empty cart ignores its letter
  EXPECT_FALSE(cart(1).Playing());
}

TEST_F(RemoteCartsTest, StopStopsOnlyThatCartAndPanicStopsEveryCart) {
  RemoteCarts remote(*window);
  remote.fire("A");
  remote.fire("C");
  remote.fire("D");
  cart(3).pauseClick();
  ASSERT_TRUE(cart(3).Paused());
  remote.stop("A");
  EXPECT_FALSE(cart(0).Playing());
  EXPECT_TRUE(cart(2).Playing());
  remote.stop("A");  // stop never starts a cart
  EXPECT_FALSE(cart(0).Playing());
  remote.panic();
  for (int k = 0; k < window->cartCount(); ++k) EXPECT_FALSE(cart(k).Playing()) << k;
  // Nothing is emptied.
  EXPECT_EQ(cart(2).GetTitle(), "/jingles/a.wav");
}

TEST_F(RemoteCartsTest, TheListReadAgainShowsTheDeviceChosenOrNone) {
  QComboBox* list = window->controls().combo4;
  ASSERT_EQ(list->count(), 2);
  cart(0).ListenMusic();
  EXPECT_TRUE(window->anyCartPlaying());
  cart(0).stopClick();
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
  EXPECT_EQ(list->currentIndex(), 1);
  EXPECT_EQ(list->currentText(), "Studio");
  EXPECT_EQ(window->AudioPlayerMain()->CurrentDevice(), 1);
  cart(0).ListenMusic();
  EXPECT_TRUE(cart(0).Playing());
}

}  // namespace
}  // namespace quillon::app
