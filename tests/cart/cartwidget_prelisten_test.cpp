// Ctrl+click on a cart's play button, and the pre-listen look on screen: a
// headphone-blue title band where a cart on air shows green, on the
// simulated devices "Main" and "Cue".
#include "cartwidgetfixture.h"

namespace quillon::cart::test {
namespace {

class CartWidgetPreListen : public CartWidgetTest {
 protected:
  void SetUp() override {
    CartWidgetTest::SetUp();
    engine.devices.setDevices({{"Main", true}, {"Cue", true}}, 0);
    cart().SetDevOutput(0);
    bindFile("/jingles/bed.wav", 20);
  }
  // The title band's colour, left of the title text.
  QColor titleBand() { return shot().pixelColor(6, 62); }
};

TEST_F(CartWidgetPreListen, CtrlClickPreListensInBlueAndAPlainClickGoesOnAirInGreen) {
  ASSERT_TRUE(cart().setCueDevice(1));
  clickOn("Image3", Qt::ControlModifier);
  ASSERT_TRUE(cart().isPreListen());
  const QColor cue = titleBand();
  EXPECT_GT(cue.blue(), cue.red() + cue.green()) << cue.name().toStdString();
  clickOn("Image3");  // on air from the start
  ASSERT_TRUE(cart().Playing() && !cart().isPreListen());
  const QColor air = titleBand();
  EXPECT_GT(air.green(), air.blue()) << air.name().toStdString();
  EXPECT_GT(air.green(), air.red());
  clickOn("Image3", Qt::ControlModifier);  // leaves the air play alone
  EXPECT_FALSE(cart().isPreListen());
}

TEST_F(CartWidgetPreListen, WithoutACueDeviceCtrlClickIsAPlainClick) {
  clickOn("Image3", Qt::ControlModifier);
  EXPECT_TRUE(cart().Playing());
  EXPECT_FALSE(cart().isPreListen());
}

}  // namespace
}  // namespace quillon::cart::test
