// What the cart tells its view beyond the background: the paused mark, the
// reason a file is missing, and the hover lights of views that track the
// pointer's entering and leaving.
#include "cartfixture.h"

namespace quillon::cart::test {
namespace {

class CartViewLook : public CartTest {};

TEST_F(CartViewLook, APausedCartKeepsThePlayingBackgroundAndCarriesThePausedMark) {
  bindAndPlay("/j/bed.wav", 20);
  advance(1s);
  listener.changes.clear();
  cart.pauseClick();
  EXPECT_TRUE(cart.look().paused);
  EXPECT_EQ(cart.look().background, Background::Play);
  EXPECT_EQ(listener.changesWith(kBackgroundPart), 1);

  cart.pauseClick();  // resumed
  EXPECT_FALSE(cart.look().paused);
  EXPECT_EQ(listener.changesWith(kBackgroundPart), 2);

  cart.pauseClick();
  cart.stopClick();  // a stopped cart is not paused
  EXPECT_FALSE(cart.look().paused);
  EXPECT_EQ(cart.look().background, Background::Stop);
}

TEST_F(CartViewLook, AMissingFileCarriesItsReasonUntilAGoodFileIsBound) {
  listener.changes.clear();
  EXPECT_FALSE(cart.SetTitle("/j/gone.mp3"));
  EXPECT_TRUE(cart.look().fileMissing);
  EXPECT_NE(cart.look().missingReason.find("/j/gone.mp3"), std::string::npos);
  EXPECT_EQ(listener.changesWith(kTitlePart), 1);

  bindFile("/j/back.wav", 3);
  EXPECT_FALSE(cart.look().fileMissing);
  EXPECT_EQ(cart.look().missingReason, "");
}

TEST_F(CartViewLook, AFileThatVanishesBeforeItsStartShowsWhy) {
  bindFile("/j/brief.wav", 3);
  media().remove("/j/brief.wav");
  cart.playClick();
  EXPECT_FALSE(cart.Playing());
  EXPECT_TRUE(cart.look().fileMissing);
  EXPECT_FALSE(cart.look().missingReason.empty());
}

TEST_F(CartViewLook, LeavingUnlightsTheStopButtonAndTheThumbAndNeverLightsThem) {
  cart.stopLeave();  // not lit: leaving does not light it
  cart.thumbLeave();
  EXPECT_FALSE(cart.look().stopLit);
  EXPECT_FALSE(cart.look().thumbLit);

  cart.stopHover(75, 90);
  cart.thumbMove(30, 60);
  EXPECT_TRUE(cart.look().stopLit);
  EXPECT_TRUE(cart.look().thumbLit);
  cart.stopLeave();
  cart.thumbLeave();
  EXPECT_FALSE(cart.look().stopLit);
  EXPECT_FALSE(cart.look().thumbLit);
}

TEST_F(CartViewLook, ThePauseButtonStaysLitWhenThePointerLeavesAPausedCart) {
  bindAndPlay("/j/bed.wav", 20);
  cart.pauseHover(75, 90);
  cart.pauseClick();
  cart.pauseLeave();
  EXPECT_TRUE(cart.look().pauseLit);
  cart.pauseHover(75, 90);  // back over it, resumed, and away
  cart.pauseClick();
  cart.pauseLeave();
  EXPECT_FALSE(cart.look().pauseLit);
}

}  // namespace
}  // namespace quillon::cart::test
