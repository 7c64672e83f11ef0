// Favourites for tests and benchmarks of the main window: FavoriteLinks with
// its entry 0 only, never read from or written to Config.ini, so a test
// leaves no file behind. UI thread.
#pragma once

#include <string>
#include <vector>

#include "app/favoritessteps.h"

namespace quillon::app {

class FavoritesStandIn : public FavoritesSteps {
 public:
  void EmptyFavorites() override { m_favoriteLinks.assign(1, std::string()); }
  void LoadFavorites() override {}
  void SaveFavorites() override {}

 private:
  std::vector<std::string> m_favoriteLinks{std::string()};
};

}  // namespace quillon::app
