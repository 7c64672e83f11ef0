// The explorer's file-system model: folders, the parent-folder entry and the
// four audio types only, with the panel's own pictures, and a drag of one
// listed audio file as an ordinary file-list drag (text/uri-list), the same
// that the desktop's file manager sends. Folders are read off the UI thread by
// Qt's file-system model; everything here runs on the UI thread.
#pragma once

#include <QFileSystemModel>
#include <QHash>
#include <QIcon>

namespace quillon::explorer {

class ExplorerModel : public QFileSystemModel {
  Q_OBJECT

 public:
  explicit ExplorerModel(QObject* parent = nullptr);
  ~ExplorerModel() override;

  // True for the ".." entry of a folder.
  static bool isParentEntry(const QModelIndex& index);
  // True for a file the list may hand to a cart: one of the four audio types.
  bool isListedAudioFile(const QModelIndex& index) const;

  // Thumbnail display: audio files show their thumbnail instead of their icon.
  void setThumbnails(bool on);
  bool thumbnails() const { return m_thumbnails; }

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QStringList mimeTypes() const override;
  // One listed audio file among `indexes` (a row may give several columns of
  // the same file): its URL as text/uri-list. Anything else: no data, so no
  // drag starts.
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  Qt::DropActions supportedDragActions() const override;

 private:
  QIcon m_folder;
  QIcon m_parentFolder;
  QIcon m_audioFile;
  mutable QHash<QString, QIcon> m_thumbnailsByType;  // by upper-case extension
  bool m_thumbnails = false;
};

}  // namespace quillon::explorer
