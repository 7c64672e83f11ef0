// 26 real carts on the fake engine, and a folder, for the tests of palettes
// loaded into and saved from the grid.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cart/cartouche.h"
#include "palette/paletteformat.h"
#include "support/fakeengine.h"
#include "testfiles.h"

namespace quillon::palette::test {

struct CartGrid {
  explicit CartGrid(audio::Engine& engine) {
    for (int i = 0; i < kPaletteCarts; ++i) {
      owned.push_back(std::make_unique<cart::Cartouche>(engine));
      carts.push_back(owned.back().get());
    }
  }
  std::vector<std::unique_ptr<cart::Cartouche>> owned;
  std::vector<cart::Cartouche*> carts;
};

class CartGridTest : public ::testing::Test {
 public:
  // A fake audio file of ten seconds (44100 Hz stereo).
  void addFile(const std::string& path) {
    quillon::test::FakeFile file;
    file.frames = 44100 * 10;
    engine.media.add(path, file);
  }
  void bind(int i, const std::string& path) {
    addFile(path);
    ASSERT_TRUE(cart(i).SetTitle(path));
  }
  cart::Cartouche& cart(int i) { return *carts[static_cast<std::size_t>(i)]; }

  quillon::test::FakeEngine engine;
  CartGrid grid{engine};
  std::vector<cart::Cartouche*>& carts = grid.carts;
  TempFolder folder;
};

}  // namespace quillon::palette::test
