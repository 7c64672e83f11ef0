// The explorer's folder chooser (JamShellCombo1): shows the folder the list
// shows, and offers its parent folders and the usual places (home, music,
// desktop, documents, the top of the file system). A folder path can also
// be typed and confirmed with Enter. UI thread.
#pragma once

#include <QComboBox>
#include <QIcon>

namespace quillon::explorer {

class FolderChooser : public QComboBox {
  Q_OBJECT

 public:
  explicit FolderChooser(QWidget* parent = nullptr);

  // Shows `folder` (an absolute path) and rebuilds the choices around it.
  // Emits nothing: the list is already there.
  void setFolder(const QString& folder);
  QString folder() const { return m_folder; }
  // The folders offered, in the order shown (for tests and the keyboard).
  QStringList choices() const;
  // Chooses the offered folder at `row`, as a click on it does.
  void choose(int row);

 signals:
  // The operator chose or typed an existing folder.
  void folderChosen(const QString& folder);

 private:
  void addChoice(const QString& path, const QString& label, int depth);
  void typedPathConfirmed();

  QString m_folder;
  QIcon m_folderIcon;
  bool m_rebuilding = false;
};

}  // namespace quillon::explorer
