// The favourites as the window runs them: the favourites list in Config.ini
// and the inset's list and buttons, once the window hands them over. UI thread.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
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

  // Where the operator is told which favourites Config.ini does not hold
  // (palette::Favorites::notStored): an empty text withdraws the message.
  void onNotStored(std::function<void(const QString&)> show);

 private:
  void connectNotStored();

  std::filesystem::path m_configIni;
  palette::Favorites* m_favorites = nullptr;  // owned by the window
  std::function<void(const QString&)> m_showNotStored;
};

}  // namespace quillon::app
