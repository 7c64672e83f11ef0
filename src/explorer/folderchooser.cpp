#include "explorer/folderchooser.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardPaths>

#include "explorer/explorerartwork.h"

namespace quillon::explorer {

namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

FolderChooser::FolderChooser(QWidget* parent) : QComboBox(parent), m_folderIcon(drawFolderIcon()) {
  setObjectName("JamShellCombo1");
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);  // a typed path is a place to go, not a new choice
  setMaxVisibleItems(20);
  lineEdit()->setClearButtonEnabled(false);
  connect(this, &QComboBox::activated, this, &FolderChooser::choose);
  connect(lineEdit(), &QLineEdit::returnPressed, this, &FolderChooser::typedPathConfirmed);
}

void FolderChooser::addChoice(const QString& path, const QString& label, int depth) {
  addItem(m_folderIcon, QString(depth * 2, QChar(' ')) + label, path);
  setItemData(count() - 1, QDir::toNativeSeparators(path), Qt::ToolTipRole);
}

void FolderChooser::setFolder(const QString& folder) {
  m_folder = folder;
  const QSignalBlocker blocker(this);
  m_rebuilding = true;
  clear();
  // The folder's ancestry, from the top of the file system down to it.
  QStringList chain;
  for (QDir dir(folder);;) {
    chain.prepend(dir.absolutePath());
    if (dir.isRoot() || !dir.cdUp()) break;
  }
  for (int depth = 0; depth < chain.size(); ++depth) {
    const QString name = QFileInfo(chain[depth]).fileName();
    addChoice(chain[depth], name.isEmpty() ? chain[depth] : name, depth);
  }
  const int current = count() - 1;
  insertSeparator(count());
  const std::pair<QStandardPaths::StandardLocation, const char*> places[] = {
      {QStandardPaths::HomeLocation, "Home"},
      {QStandardPaths::MusicLocation, "Music"},
      {QStandardPaths::DesktopLocation, "Desktop"},
      {QStandardPaths::DocumentsLocation, "Documents"},
  };
  QStringList offered;
  for (const auto& [location, label] : places) {
    const QString path = QStandardPaths::writableLocation(location);
    if (path.isEmpty() || offered.contains(path) || !QFileInfo(path).isDir()) continue;
    offered << path;
    addChoice(path, QString::fromLatin1(label), 0);
  }
  addChoice(QDir::rootPath(), QStringLiteral("File system"), 0);
  setCurrentIndex(current);
  setEditText(QDir::toNativeSeparators(folder));
  m_rebuilding = false;
}

QStringList FolderChooser::choices() const {
  QStringList result;
  for (int row = 0; row < count(); ++row) {
    const QString path = itemData(row, kPathRole).toString();
    if (!path.isEmpty()) result << path;
  }
  return result;
}

void FolderChooser::choose(int row) {
  if (m_rebuilding) return;
  const QString path = itemData(row, kPathRole).toString();
  if (path.isEmpty()) return;  // the separator
  if (!QFileInfo(path).isDir()) {
    setFolder(m_folder);  // gone meanwhile: stay where we are
    return;
  }
  emit folderChosen(path);
}

void FolderChooser::typedPathConfirmed() {
  const QString typed = QDir::fromNativeSeparators(currentText().trimmed());
  const QFileInfo info(typed.startsWith("~/") || typed == "~" ? QDir::homePath() + typed.mid(1)
                                                              : typed);
  if (!info.isAbsolute() || !info.isDir()) {
    setEditText(QDir::toNativeSeparators(m_folder));  // not a folder: show where we are
    return;
  }
  emit folderChosen(QDir::cleanPath(info.absoluteFilePath()));
}

}  // namespace quillon::explorer
