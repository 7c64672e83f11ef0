// The chosen device coming back, on simulated devices whose list changes
// when it is read again, as a machine's does.
#include "remote/devicereturn.h"

#include <gtest/gtest.h>

#include <optional>

#include "audio/manualscheduler.h"
#include "support/simulateddevices.h"
#include "support/simulatedplayer.h"

namespace quillon::remote {
namespace {

using audio::DeviceInfo;
using Step = DeviceReturn::Step;

// The machine: what a rescan finds is set by the test.
struct Machine : audio::SimulatedDevices {
  void rescan() override {
    SimulatedDevices::rescan();
    if (next) setDevices(*next, 0);
  }
  std::optional<std::vector<DeviceInfo>> next;
};

class DeviceReturnTest : public testing::Test {
 protected:
  void SetUp() override {
    machine.setDevices({{"Built-in", true}, {"Studio USB", true}}, 0);
    main.SelectDevice(1);
  }
  DeviceReturn makeReturn() {
    return DeviceReturn(main, {[this] { return playing; },
                               [this](int d) {
                                 main.SelectDevice(d);
                                 chosen.push_back(d);
                               }});
  }

  audio::ManualScheduler clock;
  Machine machine;
  audio::SimulatedPlayer main{clock, machine};
  bool playing = false;
  std::vector<int> chosen;
};

TEST_F(DeviceReturnTest, AUsableDeviceIsLeftAloneAndNoDeviceEverChosenWaitsForNothing) {
  DeviceReturn r = makeReturn();
  EXPECT_EQ(r.check(), Step::Present);
  EXPECT_EQ(r.check(), Step::Present);
  main.SelectDevice(-1);
  EXPECT_EQ(r.check(), Step::NothingChosen);
  EXPECT_EQ(machine.rescans(), 0);
  EXPECT_TRUE(chosen.empty());
}

TEST_F(DeviceReturnTest, AFailedDeviceIsLookedForByNameWhileNoCartPlaysUntilItReturnsUsable) {
  DeviceReturn r = makeReturn();
  machine.failDevice(1, "unplugged");
  machine.next = std::vector<DeviceInfo>{{"Built-in", true}};
  playing = true;  // nothing is read while a cart plays
  EXPECT_EQ(r.check(), Step::CartPlaying);
  EXPECT_EQ(machine.rescans(), 0);
  EXPECT_TRUE(chosen.empty());
  playing = false;
  EXPECT_EQ(r.check(), Step::StillMissing);
  EXPECT_EQ(r.awaitedName(), "Studio USB");
  // The old numbers mean nothing in the new list: no device, not "Built-in".
  EXPECT_EQ(chosen, std::vector<int>{-1});
  // Listed under its name but not usable (gone, its number kept): it stays
  // the choice, and the wait goes on.
  machine.next = std::vector<DeviceInfo>{{"Studio USB", false, false}};
  EXPECT_EQ(r.check(), Step::StillMissing);
  EXPECT_EQ(chosen, (std::vector<int>{-1, 0}));

  // Plugged back in, now third in the list.
  machine.next = std::vector<DeviceInfo>{{"Built-in", true}, {"HDMI", true}, {"Studio USB", true}};
  EXPECT_EQ(r.check(), Step::Returned);
  EXPECT_EQ(chosen.back(), 2);
  EXPECT_EQ(main.DeviceName(), "Studio USB");
  EXPECT_TRUE(r.awaitedName().empty());
  EXPECT_EQ(r.check(), Step::Present);
  EXPECT_EQ(machine.rescans(), 3);
}

TEST_F(DeviceReturnTest, AnotherDevicePickedMeanwhileEndsTheWait) {
  DeviceReturn r = makeReturn();
  machine.failDevice(1, "unplugged");
  machine.next = std::vector<DeviceInfo>{{"Built-in", true}};
  EXPECT_EQ(r.check(), Step::StillMissing);
  main.SelectDevice(0);  // the operator's choice in the list
  EXPECT_EQ(r.check(), Step::Present);
  // The studio card coming back later takes nothing from that choice.
  machine.next = std::vector<DeviceInfo>{{"Built-in", true}, {"Studio USB", true}};
  EXPECT_EQ(r.check(), Step::Present);
  EXPECT_EQ(machine.rescans(), 1);
}

}  // namespace
}  // namespace quillon::remote
