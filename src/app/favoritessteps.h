// The favourites list at the moments of the window's life that touch it:
// emptied first thing at start-up, read from Config.ini after the first run,
// written back when the window closes and by Quit. The list, its keys in
// Config.ini and the work of the favourites inset's controls belong to the
// favourites; the window only calls these at their moments. UI thread.
#pragma once

#include <functional>
#include <string>

class QComboBox;
class QPushButton;
class QWidget;

namespace quillon::app {

class FavoritesSteps {
 public:
  virtual ~FavoritesSteps() = default;
  // FavoriteLinks holds nothing but its entry 0.
  virtual void EmptyFavorites() = 0;
  virtual void LoadFavorites() = 0;
  virtual void SaveFavorites() = 0;

  // The window's favourites inset, handed over once its controls exist.
  struct Inset {
    QComboBox* list = nullptr;
    QPushButton* add = nullptr;
    QPushButton* clear = nullptr;
    std::function<void(const std::string& palettePath)> loadPalette;
    std::function<void()> focusCarts;
    QWidget* window = nullptr;
  };
  virtual void attachInset(const Inset& /*inset*/) {}
};

}  // namespace quillon::app
