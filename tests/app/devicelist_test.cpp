// The device list in the window (off screen) over simulated devices that fail,
// go and return: what the operator sees while nothing plays.
#include <gtest/gtest.h>

#include "app/statusbar1.h"
#include "quietwindow.h"
#include "support/cartoucheurprobe.h"

namespace quillon::app {
namespace {

class DeviceListWindow : public testing::Test, public test::QuietWindow {};

// The chosen device fails with no cart playing: the status bar and the list
// say so, a fire on it shows on the cart; when the list is read again and the
// device is gone it stays the choice, shown absent, under its own number;
// back, it is taken again and the message goes.
TEST_F(DeviceListWindow, AFailedOrAbsentDeviceIsShownWhileNothingPlaysAndTakenAgainWhenItReturns) {
  engine.devices.setDevices({{"One", true}, {"USB card", true}}, 1);
  auto w = makeWindow();
  ASSERT_NE(w, nullptr);
  QComboBox* list = w->controls().deviceList;
  ASSERT_EQ(list->currentIndex(), 1);
  EXPECT_TRUE(CartoucheurProbe::deviceMessage(*w).isEmpty());
  engine.media.add("/jingles/c.wav", quillon::test::FakeFile{{44100, 2}, 441000});
  ASSERT_TRUE(w->cart(2)->cart().SetTitle("/jingles/c.wav"));

  engine.devices.failDevice(1, "the JACK server stopped");
  engine.clock.advance(std::chrono::milliseconds(1));  // events come from the loop
  EXPECT_EQ(CartoucheurProbe::deviceMessage(*w), "\"USB card\" failed: the JACK server stopped");
  EXPECT_EQ(w->controls().statusBar->messageText(),
            "Output device: " + CartoucheurProbe::deviceMessage(*w));
  EXPECT_EQ(list->currentText(), "USB card (failed)");
  w->cart(2)->cart().KeyPressRacc("C");
  EXPECT_FALSE(w->cart(2)->cart().Playing());
  EXPECT_FALSE(w->cart(2)->cart().look().startFailure.empty());
  EXPECT_EQ(w->cart(2)->cart().look().titleColour(), cart::TextColour::Red);

  // Read again: gone. Still the choice, under its number.
  engine.devices.setDevices({{"One", true}, {"USB card", false, false}}, 0);
  openDeviceList(list);
  EXPECT_EQ(list->currentText(), "USB card (absent)");
  EXPECT_EQ(w->AudioPlayerMain()->CurrentDevice(), 1);
  EXPECT_TRUE(CartoucheurProbe::deviceMessage(*w).contains("absent"));

  // Back: taken again, the message gone, the cart plays.
  engine.devices.setDevices({{"One", true}, {"USB card", true}}, 0);
  openDeviceList(list);
  EXPECT_EQ(list->currentText(), "USB card");
  EXPECT_EQ(list->count(), 2);
  EXPECT_TRUE(CartoucheurProbe::deviceMessage(*w).isEmpty());
  w->cart(2)->cart().KeyPressRacc("C");
  EXPECT_TRUE(w->cart(2)->cart().Playing());
  EXPECT_TRUE(w->cart(2)->cart().look().startFailure.empty());
}

}  // namespace
}  // namespace quillon::app
