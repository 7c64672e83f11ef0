// Inside the cart only: gathers the look changes of one operation, however
// deeply its steps nest, and tells the listener once at the end, naming only
// the parts that differ from what was last told. A start that fails, for
// instance, shows the playing background and then the idle one again: no
// repaint at all.
#pragma once

#include "cart/cartouche.h"

namespace quillon::cart {

class Cartouche::LookChange {
 public:
  explicit LookChange(Cartouche& cart) : m_cart(cart) { ++m_cart.m_changeDepth; }
  ~LookChange() {
    if (--m_cart.m_changeDepth == 0) m_cart.publishLook();
  }
  LookChange(const LookChange&) = delete;
  LookChange& operator=(const LookChange&) = delete;

 private:
  Cartouche& m_cart;
};

}  // namespace quillon::cart
