// STAND-IN, to be replaced by the favourites list: FavoriteLinks with its
// entry 0 only; nothing is read from or written to Config.ini yet. UI thread.
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
