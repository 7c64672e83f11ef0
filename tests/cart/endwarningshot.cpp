// The end warning's look for the docs: cart_endwarning_shot FILE writes a
// picture of two playing carts in their last seconds, the frame lit and
// dark, beside each other. Run it under Xvfb for the real platform's
// rendering. Not a test.
#include <QApplication>
#include <QHBoxLayout>
#include <QWidget>
#include <chrono>
#include <cstdio>

#include "cart/cartwidget.h"
#include "support/fakeengine.h"

int main(int argc, char* argv[]) {
  using namespace std::chrono_literals;
  QApplication application(argc, argv);
  QApplication::setStyle("Fusion");
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.png\n", argv[0]);
    return 2;
  }
  quillon::test::FakeEngine engine;
  engine.media.add("/jingles/Station ID 10s.wav", {{44100, 2}, 441000});
  QWidget strip;
  strip.setAutoFillBackground(true);
  strip.setPalette(QPalette(QColor(200, 204, 210)));
  auto* row = new QHBoxLayout(&strip);
  row->setContentsMargins(6, 6, 6, 6);
  row->setSpacing(6);
  quillon::cart::CartWidget* carts[2];
  for (int k = 0; k < 2; ++k) {
    carts[k] = new quillon::cart::CartWidget(engine, &strip);
    row->addWidget(carts[k]);
    quillon::cart::Cartouche& cart = carts[k]->cart();
    cart.SetMyLetter(k == 0 ? "J" : "K");
    cart.setEndWarning({true, 5});
    cart.SetTitle("/jingles/Station ID 10s.wav");
  }
  // K starts a quarter second after J: at 6.5 s of J, J's frame is lit and
  // K's (at 6.25 s) is dark.
  carts[0]->cart().playClick();
  engine.clock.advance(250ms);
  carts[1]->cart().playClick();
  engine.clock.advance(6250ms);
  strip.show();
  QApplication::processEvents();
  const bool lit = carts[0]->cart().look().endWarning && !carts[1]->cart().look().endWarning;
  if (!lit) std::fprintf(stderr, "the frames are not in the phases expected\n");
  return lit && strip.grab().save(argv[1]) ? 0 : 1;
}
