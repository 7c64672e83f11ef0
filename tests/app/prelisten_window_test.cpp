// Pre-listen in the window off screen, on the simulated devices "Main" and
// "Cue": Ctrl with a letter pre-listens (never while a text field has the
// focus), the on-air view leaves it out, and the status bar says when the
// cue device cannot be used.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>

#include "app/statusbar1.h"
#include "quietwindow.h"
#include "remote/devicereturn.h"
#include "support/cartoucheurprobe.h"

namespace quillon::app::test {
namespace {

using namespace std::chrono_literals;

class PreListenWindow : public testing::Test, public QuietWindow {
 protected:
  // Carts A and B hold ten-second files; the cue device as named.
  std::unique_ptr<Cartoucheur> window(const std::string& cueDevice = "Cue",
                                      bool instantKeys = false) {
    engine.devices.setDevices({{"Main", true}, {"Cue", true}}, 0);
    settings::AdditionSettings additions;
    additions.preListen.device = cueDevice;
    additions.keys.instant = instantKeys;
    auto w = activeWindow(additions);
    if (!w) return w;
    engine.media.add("/jingles/bed.wav", quillon::test::FakeFile{{44100, 2}, 441000});
    for (int k = 0; k < 2; ++k) w->cart(k)->cart().SetTitle("/jingles/bed.wav");
    return w;
  }
  void tap(Cartoucheur& w, char letter, Qt::KeyboardModifiers modifiers, bool poll = true) {
    const auto code = static_cast<Qt::Key>(Qt::Key_A + (letter - 'a'));
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent event(type, code, modifiers, QString(QChar(letter)));
      event.setTimestamp(m_time += 60);
      QCoreApplication::sendEvent(w.windowHandle(), &event);
    }
    if (poll) CartoucheurProbe::pollKeys(w);
  }
  static std::string statusText(const Cartoucheur& w) {
    const StatusMessage* shown = w.statusMessages().shown();
    return shown ? shown->text : std::string();
  }
  std::uint64_t m_time = 1000;
};

TEST_F(PreListenWindow, CtrlWithALetterPreListensAndTheOnAirViewLeavesItOut) {
  auto w = window();
  ASSERT_TRUE(w);
  cart::Cartouche& a = w->cart(0)->cart();
  tap(*w, 'a', Qt::ControlModifier);
  EXPECT_TRUE(a.Playing() && a.isPreListen());
  engine.clock.advance(1000ms);
  EXPECT_TRUE(w->onAir().empty());
  EXPECT_EQ(w->controls().statusBar->onAirText(), "");
  EXPECT_EQ(statusText(*w), "");
  // The letter alone fires it on air: listed from its start.
  tap(*w, 'a', Qt::NoModifier);
  EXPECT_FALSE(a.isPreListen());
  ASSERT_EQ(w->onAir().size(), 1u);
  EXPECT_EQ(a.look().runningTime, "00:00");
  // Ctrl on the cart on air changes nothing; the panic stops a pre-listen.
  tap(*w, 'a', Qt::ControlModifier);
  EXPECT_TRUE(a.Playing() && !a.isPreListen());
  tap(*w, 'b', Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(w->cart(1)->cart().isPreListen());
  w->stopAllCarts();
  EXPECT_FALSE(a.Playing() || w->cart(1)->cart().Playing());
}

TEST_F(PreListenWindow, WithInstantKeysCtrlWithALetterPreListensAtThePress) {
  auto w = window("Cue", true);
  ASSERT_TRUE(w);
  tap(*w, 'a', Qt::ControlModifier, false);
  EXPECT_TRUE(w->cart(0)->cart().isPreListen());
  CartoucheurProbe::pollKeys(*w);  // and not once more at the poll
  EXPECT_TRUE(w->cart(0)->cart().isPreListen());
}

TEST_F(PreListenWindow, CtrlWithALetterInATextFieldEditsAndPreListensNothing) {
  auto w = window();
  ASSERT_TRUE(w);
  auto* field = w->findChild<QLineEdit*>();
  ASSERT_NE(field, nullptr) << "the explorer's path field";
  field->setFocus();
  ASSERT_TRUE(field->hasFocus());
  tap(*w, 'a', Qt::ControlModifier);
  EXPECT_FALSE(w->cart(0)->cart().Playing());
}

TEST_F(PreListenWindow, ACueDeviceNotListedLeavesPreListenOffAndSaysSo) {
  auto w = window("Headphones");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->preListenPlayer(), nullptr);
  EXPECT_EQ(statusText(*w), "Pre-listen is off: no device \"Headphones\" in the list");
  tap(*w, 'a', Qt::ControlModifier);
  EXPECT_FALSE(w->cart(0)->cart().Playing());
  w->cart(0)->cart().preListenClick();  // a plain click
  EXPECT_TRUE(w->cart(0)->cart().Playing() && !w->cart(0)->cart().isPreListen());
}

TEST_F(PreListenWindow, TheStatusBarSaysWhenTheCueDeviceFailsOrIsTheOutput) {
  auto w = window();
  ASSERT_TRUE(w);
  tap(*w, 'a', Qt::ControlModifier);
  w->cart(1)->cart().playClick();
  engine.devices.failDevice(1, "unplugged");
  engine.clock.advance(100ms);
  EXPECT_EQ(statusText(*w), "\"Cue\" failed: unplugged; carts cannot pre-listen");
  EXPECT_FALSE(w->cart(0)->cart().Playing());
  EXPECT_TRUE(w->cart(1)->cart().Playing());
  // The device's return waits for it as for the output device: not while a
  // cart plays; then the list is read again; once it is back (the simulated
  // list does not bring it back by itself), it is chosen again.
  remote::DeviceReturn back(*w->preListenPlayer(),
                            {[&w] { return w->anyCartPlaying(); },
                             [&w](int device) { w->choosePreListenDeviceAfterRescan(device); }});
  EXPECT_EQ(back.check(), remote::DeviceReturn::Step::CartPlaying);
  w->cart(1)->cart().stopClick();
  const int rescans = engine.devices.rescans();
  EXPECT_EQ(back.check(), remote::DeviceReturn::Step::StillMissing);
  EXPECT_EQ(engine.devices.rescans(), rescans + 1);
  engine.devices.setDevices({{"Main", true}, {"Cue", true}}, 0);
  w->choosePreListenDeviceAfterRescan(1);
  EXPECT_EQ(statusText(*w), "");
  tap(*w, 'a', Qt::ControlModifier);
  EXPECT_TRUE(w->cart(0)->cart().isPreListen());

  auto same = window("Main");
  ASSERT_TRUE(same);
  EXPECT_EQ(statusText(*same), "Pre-listen is off: \"Main\" is the output device, heard on air");
}

}  // namespace
}  // namespace quillon::app::test
