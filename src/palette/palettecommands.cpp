#include "palette/palettecommands.h"

#include <utility>

#include "palette/inisyntax.h"
#include "palette/palettenames.h"

namespace quillon::palette {

namespace {

constexpr char16_t kFirstCartLetter = u'A';

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

  const PaletteEntries entries = paletteEntriesOf(m_carts());
  const WriteResult result = writePalette(localPath(path), entries);
  if (!result) {
    m_dialogs.warn(kMessageTitle, QStringLiteral("The palette could not be saved to %1.\n\n%2")
                                      .arg(path, QString::fromStdString(result.message())));
    return;
  }
  const std::vector<int> leftOut = unstorableCarts(entries);
  if (leftOut.empty()) {
    m_dialogs.inform(kMessageTitle, QString::fromUtf8(kSavedMessage));
    return;
  }
  QString carts;
  for (const int i : leftOut) {
    const std::string& title = entries[static_cast<std::size_t>(i)].path;
    carts += QStringLiteral("\n%1: %2 (%3)")
                 .arg(QChar(kFirstCartLetter + i), QString::fromStdString(onOneLine(title)),
                      QString::fromStdString(std::string(whyNotWritable(title))));
  }
  m_dialogs.warn(kMessageTitle, QStringLiteral("The palette was saved to %1, but a palette cannot "
                                               "hold the file name of these carts, which it "
                                               "keeps as empty:\n%2")
                                    .arg(path, carts));
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
