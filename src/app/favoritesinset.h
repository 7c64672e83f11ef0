// The favourites as the window runs them: the favourites list in Config.ini
// and the inset's list and buttons, once the window hands them over. UI thread.
#pragma once

#include <filesystem>
#include <memory>

#include "app/favoritessteps.h"

namespace quillon::palette {
class Favorites;
}

namespace quillon::app {

class FavoritesInset : public FavoritesSteps {
 public:
  explicit FavoritesInset(std::filesystem::path configIni);
  ~FavoritesInset() override;

  void attachInset(const Inset& inset) override;
  void EmptyFavorites() override;
  void LoadFavorites() override;
  void SaveFavorites() override;

 private:
  std::filesystem::path m_configIni;
  palette::Favorites* m_favorites = nullptr;  // owned by the window
};

}  // namespace quillon::app
