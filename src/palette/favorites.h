// The favourites inset of the main window: the list ComboListePalette, "Add"
// (Command1) and "Clear" (Command2) over FavoriteLinks, kept in Config.ini.
// List entry k (row k - 1) always shows FavoriteLinks element k. Choosing
// an entry loads its palette and hands the keyboard to the carts. UI thread.
#pragma once

#include <QIcon>
#include <QObject>
#include <filesystem>
#include <functional>
#include <string>

#include "palette/favoritelinks.h"
#include "palette/palettedialogs.h"

class QComboBox;
class QPushButton;

namespace quillon::palette {

class Favorites : public QObject {
  Q_OBJECT

 public:
  using LoadPalette = std::function<void(const std::string& path)>;

  // The widgets are the window's; the buttons' clicks and the list's choice
  // are connected here. `focusCarts` moves the keyboard focus to the carts.
  Favorites(QComboBox* comboListePalette, QPushButton* command1, QPushButton* command2,
            std::filesystem::path configIni, LoadPalette loadPalette,
            std::function<void()> focusCarts, PaletteDialogs dialogs, QObject* parent = nullptr);

  // The window's moments: first thing at start-up, after the first run, at
  // close and on Quit. A write that fails is not reported (the program is
  // ending); lastSave() keeps its outcome.
  void EmptyFavorites();
  void LoadFavorites();
  void SaveFavorites();

  void addClick();
  void clearClick();
  // The operator chose list row `row`.
  void choose(int row);

  const FavoriteLinks& links() const { return m_links; }
  const WriteResult& lastSave() const { return m_lastSave; }

  // Image 1 of the window's image list: what every entry shows.
  static QIcon paletteImage();

 private:
  // Rebuilds the list from FavoriteLinks, so the two never drift apart.
  void showLinks();

  QComboBox* m_list;
  std::filesystem::path m_configIni;
  LoadPalette m_loadPalette;
  std::function<void()> m_focusCarts;
  PaletteDialogs m_dialogs;
  FavoriteLinks m_links;
  WriteResult m_lastSave = WriteResult::success();
  FavoriteLinks::ExistenceTest m_exists = canOpenForReading;
};

}  // namespace quillon::palette
