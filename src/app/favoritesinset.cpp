#include "app/favoritesinset.h"

#include <QWidget>

#include "palette/favorites.h"
#include "palette/palettedialogs.h"

namespace quillon::app {

FavoritesInset::FavoritesInset(std::filesystem::path configIni)
    : m_configIni(std::move(configIni)) {}

FavoritesInset::~FavoritesInset() = default;

void FavoritesInset::attachInset(const Inset& inset) {
  m_favorites = new palette::Favorites(inset.list, inset.add, inset.clear, m_configIni,
                                       inset.loadPalette, inset.focusCarts,
                                       palette::standardPaletteDialogs(inset.window), inset.window);
}

void FavoritesInset::EmptyFavorites() {
  if (m_favorites) m_favorites->EmptyFavorites();
}

void FavoritesInset::LoadFavorites() {
  if (m_favorites) m_favorites->LoadFavorites();
}

void FavoritesInset::SaveFavorites() {
  if (m_favorites) m_favorites->SaveFavorites();
}

}  // namespace quillon::app
