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
  connectNotStored();
}

void FavoritesInset::onNotStored(std::function<void(const QString&)> show) {
  m_showNotStored = std::move(show);
  connectNotStored();
}

void FavoritesInset::connectNotStored() {
  if (!m_favorites || !m_showNotStored) return;
  QObject::disconnect(m_favorites, &palette::Favorites::notStored, nullptr, nullptr);
  QObject::connect(m_favorites, &palette::Favorites::notStored, m_favorites, m_showNotStored);
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
