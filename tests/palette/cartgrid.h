// The grid's 26 carts, real carts on whatever engine the test gives.
#pragma once

#include <memory>
#include <vector>

#include "cart/cartouche.h"
#include "palette/paletteformat.h"

namespace quillon::palette::test {

class CartGrid {
 public:
  explicit CartGrid(audio::Engine& engine) {
    for (int i = 0; i < kPaletteCarts; ++i) {
      m_owned.push_back(std::make_unique<cart::Cartouche>(engine));
      carts.push_back(m_owned.back().get());
    }
  }

  std::vector<cart::Cartouche*> carts;

 private:
  std::vector<std::unique_ptr<cart::Cartouche>> m_owned;
};

}  // namespace quillon::palette::test
