#include "palette/palettecommands.h"

#include <utility>

#include "palette/palettenames.h"

namespace quillon::palette {

namespace {

std::filesystem::path localPath(const QString& path) {
  return std::filesystem::path(path.toStdString());
}

}  // namespace

PaletteCommands::PaletteCommands(CartsProvider carts, PaletteDialogs dialogs)
    : m_carts(std::move(carts)), m_dialogs(std::move(dialogs)) {}

void PaletteCommands::SavePalette() {
  const std::optional<QString> chosen = m_dialogs.askSavePath(kSaveDialogTitle);
  if (!chosen) return;  // cancelled: nothing written, nothing said
  const QString path = QString::fromStdString(withPaletteExtension(chosen->toStdString()));

  const std::vector<cart::Cartouche*> carts = m_carts();
  const WriteResult result = savePaletteFile(carts, localPath(path));
  if (result) {
    m_dialogs.inform(kMessageTitle, QString::fromUtf8(kSavedMessage));
  } else {
    m_dialogs.warn(kMessageTitle, QStringLiteral("The palette could not be saved to %1.\n\n%2")
                                      .arg(path, QString::fromStdString(result.message())));
  }
}

void PaletteCommands::OpenPalette() {
  const std::optional<QString> chosen = m_dialogs.askOpenPath(kOpenDialogTitle);
  if (!chosen) return;  // cancelled: the carts are untouched
  m_dialogs.processEvents();
  LoadPaletteFile(*chosen);
}

PaletteLoadReport PaletteCommands::LoadPaletteFile(const QString& path) {
  const std::vector<cart::Cartouche*> carts = m_carts();
  return palette::LoadPaletteFile(carts, localPath(path));
}

}  // namespace quillon::palette
