#include "explorer/explorermodel.h"

#include <QAbstractFileIconProvider>
#include <QMimeData>
#include <QUrl>

#include "explorer/audiofilter.h"
#include "explorer/explorerartwork.h"

namespace quillon::explorer {

namespace {

// The panel draws its own pictures; this provider only spares the model's
// loader thread the desktop theme's icon look-ups. It runs on that thread, so
// it must not touch pixmaps.
class NoIconProvider : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType) const override { return {}; }
  QIcon icon(const QFileInfo&) const override { return {}; }
};

// One for the whole run: a model's loader thread may still ask it while the
// model is being destroyed.
NoIconProvider& noIcons() {
  static NoIconProvider provider;
  return provider;
}

}  // namespace

ExplorerModel::ExplorerModel(QObject* parent)
    : QFileSystemModel(parent),
      m_folder(drawFolderIcon()),
      m_parentFolder(drawParentFolderIcon()),
      m_audioFile(drawAudioFileIcon()) {
  setIconProvider(&noIcons());
  // Folders (with "..") always; files only through the name filters, which
  // the model matches in any letter case; hidden entries never.
  setFilter(QDir::AllDirs | QDir::Files | QDir::NoDot);
  QStringList patterns;
  for (const std::string& pattern : filterPatterns()) patterns << QString::fromStdString(pattern);
  setNameFilters(patterns);
  setNameFilterDisables(false);  // hide what does not match rather than grey it
  setReadOnly(true);             // no renames, no drops into the list
}

ExplorerModel::~ExplorerModel() = default;

void ExplorerModel::setThumbnails(bool on) {
  if (on == m_thumbnails) return;
  m_thumbnails = on;
  // Every picture may change; the views repaint what they show.
  emit layoutAboutToBeChanged();
  emit layoutChanged();
}

bool ExplorerModel::isParentEntry(const QModelIndex& index) {
  return index.isValid() && index.siblingAtColumn(0).data(Qt::DisplayRole).toString() == "..";
}

bool ExplorerModel::isListedAudioFile(const QModelIndex& index) const {
  if (!index.isValid() || isDir(index)) return false;
  // By the path: fileName() gives the display text of the index's column.
  return explorer::isListedAudioFile(filePath(index).toStdString());
}

QVariant ExplorerModel::data(const QModelIndex& index, int role) const {
  if (role == Qt::DecorationRole && index.column() == 0) {
    if (isParentEntry(index)) return m_parentFolder;
    if (isDir(index)) return m_folder;
    if (!m_thumbnails) return m_audioFile;
    const QString extension = fileInfo(index).suffix().toUpper();
    auto it = m_thumbnailsByType.find(extension);
    if (it == m_thumbnailsByType.end()) {
      it = m_thumbnailsByType.insert(extension, drawAudioThumbnail(extension));
    }
    return *it;
  }
  if (role == Qt::ToolTipRole && index.column() == 0 && !isParentEntry(index)) {
    return filePath(index);
  }
  return QFileSystemModel::data(index, role);
}

Qt::ItemFlags ExplorerModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags result = QFileSystemModel::flags(index);
  result &= ~(Qt::ItemIsEditable | Qt::ItemIsDropEnabled);
  if (!isListedAudioFile(index)) result &= ~Qt::ItemIsDragEnabled;
  return result;
}

QStringList ExplorerModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

QMimeData* ExplorerModel::mimeData(const QModelIndexList& indexes) const {
  QString path;
  for (const QModelIndex& index : indexes) {
    if (!isListedAudioFile(index)) return nullptr;
    const QString candidate = filePath(index);
    if (!path.isEmpty() && candidate != path) return nullptr;  // one file at a time
    path = candidate;
  }
  if (path.isEmpty()) return nullptr;
  auto* data = new QMimeData;
  data->setUrls({QUrl::fromLocalFile(path)});
  return data;
}

Qt::DropActions ExplorerModel::supportedDragActions() const {
  // Copy only: a file manager that took a move would take the file away.
  return Qt::CopyAction;
}

}  // namespace quillon::explorer
