// STAND-IN, to be replaced by the cart widget: an empty cart of the cart's
// size that shows its letter and answers the operations the window calls.
// The window makes its carts only through createCart, so the real cart drops
// in there. UI thread.
#pragma once

#include <QString>
#include <QWidget>

namespace quillon::audio {
class Engine;
}

namespace quillon::app {

class CartStandIn : public QWidget {
 public:
  static constexpr float kWidthTwips = 2580;
  static constexpr float kHeightTwips = 1695;

  explicit CartStandIn(QWidget* canvas);

  void SetMyLetter(const QString& letter);
  QString Letter() const { return m_letter; }
  // Stops a playing cart and empties it; a stand-in holds nothing.
  void StopMyplay() { ++m_stops; }
  int stopCount() const { return m_stops; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_letter;
  int m_stops = 0;
};

using CartWidget = CartStandIn;

// Makes one cart on the canvas, hidden until the window shows it.
CartWidget* createCart(QWidget* canvas, audio::Engine& engine);

}  // namespace quillon::app
