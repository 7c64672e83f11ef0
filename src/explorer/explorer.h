// The file explorer panel (Explorer; Explorer1 on the main window): a folder
// chooser and a file list kept in step, and a toolbar whose clicks become
// commands for the list. Files leave the list as ordinary file-list drags;
// the panel and the carts never call each other. Its owner gives it its size
// in twips; the layout rule works in twips and never reads pixels back.
// UI thread.
#pragma once

#include <QFileSystemWatcher>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "explorer/explorerlayout.h"
#include "explorer/propertiesdialog.h"
#include "explorer/toolbarcommands.h"

class QAbstractItemView;
class QListView;
class QTreeView;

namespace quillon::audio {
class Information;
}

namespace quillon::explorer {

class ExplorerModel;
class ExplorerToolbar;
class FolderChooser;

using InformationFactory = std::function<std::unique_ptr<audio::Information>()>;

// The panel's questions to the operator. Tests answer them without a dialog.
struct ExplorerPrompts {
  // Asked before an item goes to the trash; false keeps it.
  std::function<bool(QWidget* parent, const QString& path)> confirmDelete;
  // Told when the trash could not take an item.
  std::function<void(QWidget* parent, const QString& message)> showWarning;
};

class Explorer : public QWidget, public FileListCommands {
  Q_OBJECT

 public:
  // Starts in `startFolder`, or when it is empty in the user's Music folder
  // when there is one, else in the home folder.
  Explorer(QWidget* parent, InformationFactory createInformation,
           const QString& startFolder = QString());
  ~Explorer() override;

  void setPrompts(ExplorerPrompts prompts);

  // The panel's size as its owner computed it, in twips: resizes the panel
  // and lays out its parts by the layout rule. Until the first call the panel
  // has its design size and its parts their design places.
  void setSizeTwips(float width, float height);

  // The toolbar's click, by the button's index (1 to 11).
  void Toolbar1_ButtonClick(int index);

  // The folder the chooser and the list show.
  QString currentFolder() const { return m_folder; }
  // Shows `folder` in the list and the chooser; false when it is not a folder.
  bool setCurrentFolder(const QString& folder);
  // Opens a folder of the list, or its parent for "..", as a double click does.
  void activate(const QString& path);
  // The selected item's path; empty when nothing (or "..") is selected.
  QString selectedPath() const;
  bool selectPath(const QString& path);

  int viewStyle() const { return m_viewStyle; }
  bool thumbnails() const { return m_thumbnails; }

  // The parts, by their design names, for the owner's focus handling and tests.
  FolderChooser* JamShellCombo1() const { return m_chooser; }
  ExplorerToolbar* Toolbar1() const { return m_toolbar; }
  // The view that shows the list in the current view style.
  QAbstractItemView* List_File() const;
  ExplorerModel* model() const { return m_model; }
  // The properties sheet opened last, while it is open.
  PropertiesDialog* propertiesDialog() const { return m_properties; }

  // What the toolbar asks of the list.
  bool moveUp() override;
  bool createNewFolder(const std::string& name, bool flag) override;
  void setViewStyle(int style) override;
  void setThumbnails(bool on) override;
  bool invokeCommand(const std::string& verb) override;

 signals:
  void folderChanged(const QString& folder);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void applyLayout();
  void applyViewStyle();
  void onActivated(const QModelIndex& index);
  bool showProperties(const QString& path);
  bool deleteToTrash(const QString& path);

  InformationFactory m_createInformation;
  ExplorerPrompts m_prompts;
  ExplorerModel* m_model;
  FolderChooser* m_chooser;
  ExplorerToolbar* m_toolbar;
  QListView* m_listView;
  QTreeView* m_detailsView;
  QPointer<PropertiesDialog> m_properties;
  ExplorerLayout m_layout;
  ViewButtonGroup m_group;
  QString m_folder;
  QFileSystemWatcher m_folderWatch;  // the folder shown, to notice it vanish
  int m_viewStyle = kViewList;
  bool m_thumbnails = false;
};

}  // namespace quillon::explorer
