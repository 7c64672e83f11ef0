#include "palette/palettedialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>

namespace quillon::palette {

namespace {

std::optional<QString> askPath(QWidget* parent, const QString& title,
                               QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, title);
  dialog.setNameFilter(kPaletteFilter);
  dialog.setAcceptMode(mode);
  if (mode == QFileDialog::AcceptSave) {
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  } else {
    // A mistyped name is refused here: loaded, it would empty every cart on air.
    dialog.setFileMode(QFileDialog::ExistingFile);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
  return chosen.front();
}

void showMessage(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                 const QString& text) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace

PaletteDialogs standardPaletteDialogs(QWidget* parent) {
  // The window may go before a hook is called (at the end of the program).
  const QPointer<QWidget> window(parent);
  PaletteDialogs dialogs;
  dialogs.askSavePath = [window](const QString& title) {
    return askPath(window, title, QFileDialog::AcceptSave);
  };
  dialogs.askOpenPath = [window](const QString& title) {
    return askPath(window, title, QFileDialog::AcceptOpen);
  };
  dialogs.inform = [window](const QString& title, const QString& text) {
    showMessage(window, QMessageBox::Information, title, text);
  };
  dialogs.warn = [window](const QString& title, const QString& text) {
    showMessage(window, QMessageBox::Warning, title, text);
  };
  dialogs.askYesNo = [window](const QString& title, const QString& text) {
    return QMessageBox::question(window, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
  };
  dialogs.processEvents = [] { QCoreApplication::processEvents(); };
  return dialogs;
}

}  // namespace quillon::palette
