// A cart widget shown off screen on the fake engine, with helpers to find
// its elements, drive the pointer through the window as the platform would
// (so grabs and enter/leave behave as on a desktop), and grab its picture.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <chrono>
#include <string>

#include "cart/cartwidget.h"
#include "support/fakeengine.h"

namespace quillon::cart::test {

using namespace std::chrono_literals;

class CartWidgetTest : public ::testing::Test {
 public:
  // Over the title: no element there lights up.
  static constexpr QPoint kRestingPoint{90, 60};

  void SetUp() override {
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    // Qt drops a movement to where the pointer already is: start each test
    // from a spot with no hover look, so the first movement is a real one.
    moveTo(kRestingPoint);
  }
  void TearDown() override {
    // A test that failed half way must not leave buttons down for the next.
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton}) {
      if (m_buttons & b) release(b, {0, 0});
    }
  }

  Cartouche& cart() { return widget.cart(); }
  QWidget* element(const char* name) const {
    auto* found = widget.findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  // The middle of an element, in the cart's own pixels.
  QPoint centreOf(const char* name) const {
    QWidget* e = element(name);
    return e->mapTo(&widget, e->rect().center());
  }

  // Fake files of that many seconds (44100 Hz stereo), added or bound.
  void addFile(const std::string& path, double seconds) {
    engine.media.add(path, {{44100, 2}, static_cast<audio::FrameCount>(seconds * 44100 + 0.5)});
  }
  void bindFile(const std::string& path, double seconds) {
    addFile(path, seconds);
    ASSERT_TRUE(cart().SetTitle(path));
  }
  void advance(std::chrono::nanoseconds d) { engine.clock.advance(d); }

  // The pointer, in the cart's pixels, through the window.
  void moveTo(QPoint at) { QTest::mouseMove(widget.windowHandle(), at); }
  void press(Qt::MouseButton button, QPoint at) {
    m_buttons |= button;
    QTest::mousePress(widget.windowHandle(), button, {}, at);
  }
  void release(Qt::MouseButton button, QPoint at, Qt::KeyboardModifiers modifiers = {}) {
    m_buttons &= ~Qt::MouseButtons(button);
    QTest::mouseRelease(widget.windowHandle(), button, modifiers, at);
  }
  void clickOn(const char* name, Qt::KeyboardModifiers modifiers = {}) {
    const QPoint at = centreOf(name);
    moveTo(at);
    press(Qt::LeftButton, at);
    release(Qt::LeftButton, at, modifiers);
  }

  QImage shot() { return widget.grab().toImage(); }

  quillon::test::FakeEngine engine;
  CartWidget widget{engine};

 private:
  Qt::MouseButtons m_buttons;
};

}  // namespace quillon::cart::test
