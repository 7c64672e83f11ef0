// The modal windows the palette commands and the favourites show: the file
// dialogs and the message boxes, behind hooks so that tests answer them
// without a modal loop. UI thread.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace quillon::palette {

inline constexpr const char* kPaletteFilter = "*.pal";
inline constexpr const char* kSaveDialogTitle = "Save your file";
inline constexpr const char* kOpenDialogTitle = "Open your file";
inline constexpr const char* kAddFavoriteTitle = "Add a jingle palette to your favorite";
inline constexpr const char* kSavedMessage = "La palette a été correctement enregistrée";
inline constexpr const char* kMessageTitle = "Quillon Beta version";
inline constexpr const char* kClearQuestion = "Do you really want to clear your favorite list ?";
inline constexpr const char* kClearTitle = "Quillon";

struct PaletteDialogs {
  // The chosen path, or nothing when the operator cancelled. Both show the
  // "*.pal" filter; saving never asks whether to replace a file.
  std::function<std::optional<QString>(const QString& title)> askSavePath;
  std::function<std::optional<QString>(const QString& title)> askOpenPath;
  // A message with one OK button: an information icon, a warning icon.
  std::function<void(const QString& title, const QString& text)> inform;
  std::function<void(const QString& title, const QString& text)> warn;
  // A Yes/No question; true for Yes.
  std::function<bool(const QString& title, const QString& text)> askYesNo;
  // Lets the window handle its pending events once (the dialog is gone and
  // the window repainted before the carts change).
  std::function<void()> processEvents;
};

// Qt's dialogs and message boxes over `parent` (the main window).
PaletteDialogs standardPaletteDialogs(QWidget* parent);

}  // namespace quillon::palette
