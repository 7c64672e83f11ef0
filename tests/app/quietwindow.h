// The main window on the fake engine with services that do nothing (the
// first run long done), for the window's tests, the remote's and the
// screenshots; and, for the panic tests, carts playing, paused and stopped
// with settings of their own.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <memory>
#include <string>
#include <vector>

#include "about/shell.h"
#include "app/cartoucheur.h"
#include "app/configkeys.h"
#include "support/fakeengine.h"
#include "support/favoritesstandin.h"

namespace quillon::app::test {

struct QuietConfig : ConfigKeys {
  std::string readKey(const std::string&, const std::string&) override { return "1"; }
  void writeKey(const std::string&, const std::string&, const std::string&) override {}
};

struct QuietShell : about::Shell {
  bool ShellOpen(const QString&, const QString&, const QString&) override { return false; }
};

// What the panic must leave alone on a cart.
struct CartSettings {
  std::string title, volume, loop, fadeIn, fadeOut;
  friend bool operator==(const CartSettings&, const CartSettings&) = default;
};

class QuietWindow {
 public:
  // Carts A to E: A playing at volume 60 with its loop on, B playing with
  // both fades, C playing, D paused, E stopped; ten-second files.
  static constexpr int kPlaying[] = {0, 1, 2};
  static constexpr int kPaused = 3;
  static constexpr int kStopped = 4;

  std::unique_ptr<Cartoucheur> makeWindow(const settings::AdditionSettings& additions = {}) {
    return std::make_unique<Cartoucheur>(
        engine, CartoucheurServices{config, favorites, shell, QString(), [] {}, additions});
  }
  // Shown and active, as the keyboard needs it; null when it never became active.
  std::unique_ptr<Cartoucheur> activeWindow(const settings::AdditionSettings& additions = {}) {
    auto w = makeWindow(additions);
    w->show();
    w->activateWindow();
    if (!QTest::qWaitForWindowActive(w.get())) return nullptr;
    return w;
  }

  void loadCarts(Cartoucheur& w) {
    engine.media.add("/jingles/ten.wav", quillon::test::FakeFile{{44100, 2}, 441000});
    for (int k = 0; k <= kStopped; ++k) w.cart(k)->cart().SetTitle("/jingles/ten.wav");
    w.cart(0)->cart().SetVolume(60);
    w.cart(0)->cart().Setloop(1);
    w.cart(1)->cart().SetFadein(1);
    w.cart(1)->cart().SetFadeout(1);
    for (int k = 0; k <= kPaused; ++k) w.cart(k)->cart().playClick();
    w.cart(kPaused)->cart().pauseClick();
  }

  static std::vector<CartSettings> settingsOf(const Cartoucheur& w) {
    std::vector<CartSettings> all;
    for (int k = 0; k < w.cartCount(); ++k) {
      const cart::Cartouche& c = w.cart(k)->cart();
      all.push_back({c.GetTitle(), c.GetVolume(), c.Getloop(), c.GetFadein(), c.GetFadeout()});
    }
    return all;
  }

  // True when A to C still play and D is still paused.
  static bool untouched(const Cartoucheur& w) {
    for (int k : kPlaying) {
      if (!w.cart(k)->cart().Playing() || w.cart(k)->cart().Paused()) return false;
    }
    return w.cart(kPaused)->cart().Paused() && !w.cart(kStopped)->cart().Playing();
  }

  // True when no cart plays or is paused.
  static bool allStopped(const Cartoucheur& w) {
    for (int k = 0; k < w.cartCount(); ++k) {
      if (w.cart(k)->cart().Playing()) return false;
    }
    return true;
  }

  // Opening the list reads the devices again and fills it anew.
  static void openDeviceList(QComboBox* list) {
    const QPointF centre = QRectF(list->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, list->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list, &press);
    list->hidePopup();
  }
  static void pressEscape(Cartoucheur& w, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape, modifiers);
  }

  quillon::test::FakeEngine engine;
  QuietConfig config;
  FavoritesStandIn favorites;
  QuietShell shell;
};

}  // namespace quillon::app::test
