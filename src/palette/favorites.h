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
  // close, on Quit and at the end of a session. SaveFavorites also runs after
  // each Add, so a program killed at any moment keeps every favourite shown;
  // lastSave() keeps its outcome and notStored() tells the operator.
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

 signals:
  // For the status bar's message area: which favourites Config.ini does not
  // hold and why; an empty text when that is resolved. Sent only on a change.
  void notStored(const QString& message);

 private:
  // Rebuilds the list from FavoriteLinks, so the two never drift apart.
  void showLinks();
  // Keeps the outcome of a write of Config.ini and sends notStored on a change.
  void stored(WriteResult result);

  QComboBox* m_list;
  std::filesystem::path m_configIni;
  LoadPalette m_loadPalette;
  std::function<void()> m_focusCarts;
  PaletteDialogs m_dialogs;
  FavoriteLinks m_links;
  WriteResult m_lastSave = WriteResult::success();
  std::string m_notStored;
  FavoriteLinks::ExistenceTest m_exists = canOpenForReading;
};

}  // namespace quillon::palette
