#include "explorer/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon::explorer {

namespace {

// A trash keeps its items in "files/" of the trash folder: the home trash
// "<data>/Trash", or a volume's ".Trash-<uid>" or ".Trash/<uid>".
bool isInsideATrash(const QString& trashedPath) {
  const QFileInfo item(trashedPath);
  if (!item.isAbsolute()) return false;
  QDir files = item.absoluteDir();
  if (files.dirName() != QLatin1String("files")) return false;
  QDir trash = files;
  if (!trash.cdUp()) return false;
  const QString name = trash.dirName();
  if (name == QLatin1String("Trash") || name.startsWith(QLatin1String(".Trash-"))) return true;
  return trash.cdUp() && trash.dirName() == QLatin1String(".Trash");
}

// Undoes a move that went astray: the item goes back, and the note Qt wrote
// beside it is removed with the folders it made, if they are left empty.
bool putBack(const QString& strayPath, const QString& original) {
  if (!QFile::rename(strayPath, original)) return false;
  QDir files = QFileInfo(strayPath).absoluteDir();
  QDir top = files;
  top.cdUp();
  const QString info =
      top.filePath(QStringLiteral("info/%1.trashinfo").arg(QFileInfo(strayPath).fileName()));
  QFile::remove(info);
  top.rmdir(QStringLiteral("info"));  // only when empty
  top.rmdir(QStringLiteral("files"));
  return true;
}

}  // namespace

TrashResult moveToTrash(const QString& path) {
  TrashResult result;
  const QFileInfo source(path);
  if (!source.exists() && !source.isSymLink()) {
    result.error = QStringLiteral("It no longer exists.");
    return result;
  }
  const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (dataHome.isEmpty() || !QDir().mkpath(dataHome) || !QFileInfo(dataHome).isDir()) {
    result.error = QStringLiteral("The trash folder cannot be made in %1.").arg(dataHome);
    return result;
  }
  QString trashed;
  if (!QFile::moveToTrash(path, &trashed)) {
    result.error = QStringLiteral("The trash did not take it.");
    return result;
  }
  if (!isInsideATrash(trashed)) {
    const QString stray = QFileInfo(trashed).absoluteFilePath();
    result.error =
        putBack(stray, source.absoluteFilePath())
            ? QStringLiteral("The trash is not available.")
            : QStringLiteral("The trash is not available; the item is now at %1.").arg(stray);
    return result;
  }
  result.moved = true;
  result.pathInTrash = trashed;
  return result;
}

}  // namespace quillon::explorer
