#include "explorer/explorer.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListView>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTreeView>

#include "audio/information.h"
#include "common/twips.h"
#include "explorer/explorermodel.h"
#include "explorer/explorerstyle.h"
#include "explorer/explorertoolbar.h"
#include "explorer/folderchooser.h"
#include "explorer/foldernaming.h"
#include "explorer/propertiesdialog.h"
#include "explorer/trash.h"

namespace quillon::explorer {

namespace {

QString defaultStartFolder() {
  const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
  if (!music.isEmpty() && QFileInfo(music).isDir()) return music;
  return QDir::homePath();
}

ExplorerPrompts messageBoxPrompts() {
  return {
      [](QWidget* parent, const QString& path) {
        const QFileInfo item(path);
        const QString what = item.isDir() ? QStringLiteral("the folder \"%1\" and everything in it")
                                          : QStringLiteral("\"%1\"");
        return QMessageBox::question(
                   parent, QStringLiteral("Delete"),
                   QStringLiteral("Send %1 to the trash?").arg(what.arg(item.fileName())),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
      },
      [](QWidget* parent, const QString& message) {
        QMessageBox::warning(parent, QStringLiteral("Delete"), message);
      },
  };
}

// Letters typed while the list has the keyboard belong to the carts: the
// list's type-ahead search would move its selection under them, and Delete
// or Properties would then act on a file the operator never chose.
class TypeAheadBlocker final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<const QKeyEvent*>(event);
      const bool shortcut = (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
      if (!shortcut && !key->text().isEmpty() && key->text().front().isPrint()) return true;
    }
    return QObject::eventFilter(watched, event);
  }
};

// Both views show the list: QListView the three icon and list styles, and
// QTreeView the details. They share the model and the selection.
void setUpView(QAbstractItemView* view, const QFont& font) {
  view->setFont(font);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setDragEnabled(true);
  view->setDragDropMode(QAbstractItemView::DragOnly);
  view->setDefaultDropAction(Qt::CopyAction);
  view->installEventFilter(new TypeAheadBlocker(view));
}

}  // namespace

Explorer::Explorer(QWidget* parent, InformationFactory createInformation,
                   const QString& startFolder)
    : QWidget(parent),
      m_createInformation(std::move(createInformation)),
      m_prompts(messageBoxPrompts()),
      m_model(new ExplorerModel(this)),
      m_chooser(new FolderChooser(this)),
      m_toolbar(new ExplorerToolbar(this)),
      m_listView(new QListView(this)),
      m_detailsView(new QTreeView(this)) {
  setObjectName("Explorer1");
  applyStudioLook(this);

  // Tahoma, 11 pixels high (8.25 pt at 96 dpi); a like face where it is missing.
  QFont listFont(QStringLiteral("Tahoma"));
  listFont.setPixelSize(11);
  m_chooser->setFont(listFont);
  // Not a place for the keyboard to land by itself: letters belong to the carts.
  m_chooser->setFocusPolicy(Qt::ClickFocus);

  m_listView->setObjectName("List_File");
  m_listView->setModel(m_model);
  setUpView(m_listView, listFont);
  m_listView->setResizeMode(QListView::Adjust);  // icons arranged automatically

  m_detailsView->setObjectName("List_File_Details");
  m_detailsView->setModel(m_model);
  m_detailsView->setSelectionModel(m_listView->selectionModel());
  setUpView(m_detailsView, listFont);
  m_detailsView->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_detailsView->setRootIsDecorated(false);
  m_detailsView->setItemsExpandable(false);
  m_detailsView->setUniformRowHeights(true);
  m_detailsView->setSortingEnabled(true);
  m_detailsView->sortByColumn(0, Qt::AscendingOrder);
  m_detailsView->header()->setStretchLastSection(true);
  m_detailsView->header()->setMinimumSectionSize(40);
  for (const auto& [column, width] : {std::pair{0, 190}, {1, 80}, {2, 90}, {3, 120}}) {
    m_detailsView->header()->resizeSection(column, width);
  }

  for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_listView),
                                  static_cast<QAbstractItemView*>(m_detailsView)}) {
    connect(view, &QAbstractItemView::activated, this, &Explorer::onActivated);
  }
  connect(m_chooser, &FolderChooser::folderChosen, this,
          [this](const QString& folder) { setCurrentFolder(folder); });
  connect(m_toolbar, &ExplorerToolbar::buttonClicked, this, &Explorer::Toolbar1_ButtonClick);
  // A folder shown that disappears (deleted, unmounted): go to what is left of it.
  connect(&m_folderWatch, &QFileSystemWatcher::directoryChanged, this, [this] {
    QDir dir(m_folder);
    while (!dir.exists() && dir.cdUp()) {
    }
    if (dir.absolutePath() != m_folder) setCurrentFolder(dir.absolutePath());
  });

  // The model sorts as entries arrive, before it knows which are folders;
  // sorting again once a folder is read puts its subfolders first. The order
  // is the one the details' header shows.
  connect(m_model, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
    if (path != m_folder) return;
    const QHeaderView* header = m_detailsView->header();
    m_model->sort(header->sortIndicatorSection(), header->sortIndicatorOrder());
  });

  m_toolbar->setGroupDown(m_group.down());
  applyViewStyle();
  if (startFolder.isEmpty() || !setCurrentFolder(startFolder)) {
    if (!setCurrentFolder(defaultStartFolder())) setCurrentFolder(QDir::rootPath());
  }
  // As designed until the owner gives the panel its size: that first size runs
  // the layout rule, as every later one does.
  const int dpi = logicalDpiX();
  resize(twipsToPixels(ExplorerLayout::kDesignWidth, dpi),
         twipsToPixels(ExplorerLayout::kDesignHeight, dpi));
  applyLayout();
}

Explorer::~Explorer() = default;

void Explorer::setPrompts(ExplorerPrompts prompts) { m_prompts = std::move(prompts); }

void Explorer::setSizeTwips(float width, float height) {
  m_layout = resizeExplorer(m_layout, width, height);
  const int dpi = logicalDpiX();
  resize(twipsToPixels(width, dpi), twipsToPixels(height, dpi));
  applyLayout();
}

void Explorer::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  applyLayout();  // the parts' places come from the twips layout, never from pixels
}

void Explorer::applyLayout() {
  const int dpi = logicalDpiX();
  auto pixels = [dpi](const TwipsRect& r) {
    return QRect(twipsToPixels(r.left, dpi), twipsToPixels(r.top, dpi), twipsToPixels(r.width, dpi),
                 twipsToPixels(r.height, dpi));
  };
  m_chooser->setGeometry(pixels(m_layout.JamShellCombo1));
  m_toolbar->setGeometry(pixels(m_layout.Toolbar1));
  m_listView->setGeometry(pixels(m_layout.List_File));
  m_detailsView->setGeometry(pixels(m_layout.List_File));
}

void Explorer::Toolbar1_ButtonClick(int index) {
  explorer::Toolbar1_ButtonClick(index, *this, m_group);
  m_toolbar->setGroupDown(m_group.down());
}

QAbstractItemView* Explorer::List_File() const {
  if (m_viewStyle == kViewReport) return m_detailsView;
  return m_listView;
}

bool Explorer::setCurrentFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (folder.isEmpty() || !info.isDir() || !info.isReadable()) return false;
  const QString path = QDir::cleanPath(info.absoluteFilePath());
  if (!m_folder.isEmpty()) m_folderWatch.removePath(m_folder);
  m_folder = path;
  m_folderWatch.addPath(path);  // a failure only loses the vanishing-folder check
  const QModelIndex root = m_model->setRootPath(path);
  m_listView->selectionModel()->clear();
  m_listView->setRootIndex(root);
  m_detailsView->setRootIndex(root);
  m_chooser->setFolder(path);
  emit folderChanged(path);
  return true;
}

void Explorer::activate(const QString& path) {
  if (QFileInfo(path).fileName() == QLatin1String("..")) {
    moveUp();
    return;
  }
  if (QFileInfo(path).isDir()) setCurrentFolder(path);
  // A file opens nothing: on air, nothing starts but a cart.
}

void Explorer::onActivated(const QModelIndex& index) {
  if (ExplorerModel::isParentEntry(index)) {
    moveUp();
  } else if (m_model->isDir(index)) {
    setCurrentFolder(m_model->filePath(index));
  }
}

QString Explorer::selectedPath() const {
  const QModelIndexList selected = m_listView->selectionModel()->selectedIndexes();
  for (const QModelIndex& index : selected) {
    if (index.column() != 0 || ExplorerModel::isParentEntry(index)) continue;
    return m_model->filePath(index);
  }
  return {};
}

bool Explorer::selectPath(const QString& path) {
  const QModelIndex index = m_model->index(path);
  if (!index.isValid() || index.parent() != m_listView->rootIndex()) return false;
  m_listView->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  List_File()->scrollTo(index);
  return true;
}

bool Explorer::moveUp() {
  QDir dir(m_folder);
  if (dir.isRoot() || !dir.cdUp()) return false;
  const QString from = m_folder;
  if (!setCurrentFolder(dir.absolutePath())) return false;
  selectPath(from);  // the operator sees where they came from
  return true;
}

bool Explorer::createNewFolder(const std::string& name, bool flag) {
  const QDir dir(m_folder);
  if (!QFileInfo(m_folder).isWritable()) return false;
  const auto unique = uniqueFolderName(name, [&dir](const std::string& candidate) {
    const QFileInfo entry(dir.filePath(QString::fromStdString(candidate)));
    return entry.exists() || entry.isSymLink();
  });
  if (!unique) return false;
  const QModelIndex made =
      m_model->mkdir(m_model->index(m_folder), QString::fromStdString(*unique));
  if (!made.isValid()) return false;
  // The flag selects the new folder; its name is not opened for editing, since
  // letters typed in the main window fire carts.
  if (flag) selectPath(m_model->filePath(made));
  return true;
}

void Explorer::setViewStyle(int style) {
  if (style < kViewIcon || style > kViewReport) return;
  m_viewStyle = style;
  applyViewStyle();
}

void Explorer::setThumbnails(bool on) {
  m_thumbnails = on;
  applyViewStyle();
}

void Explorer::applyViewStyle() {
  // Thumbnails show each item's 64 pixel picture in whatever style is chosen.
  const int picture = m_thumbnails ? 64 : (m_viewStyle == kViewIcon ? 32 : 16);
  const bool details = m_viewStyle == kViewReport;
  const bool hadFocus =
      List_File()->hasFocus() || m_listView->hasFocus() || m_detailsView->hasFocus();
  m_detailsView->setIconSize(QSize(picture, picture));
  m_listView->setIconSize(QSize(picture, picture));
  m_model->setThumbnails(m_thumbnails);
  switch (m_viewStyle) {
    case kViewIcon:
      m_listView->setViewMode(QListView::IconMode);
      m_listView->setFlow(QListView::LeftToRight);
      m_listView->setGridSize(QSize(picture + 52, picture + 36));
      m_listView->setWordWrap(true);
      break;
    case kViewSmallIcon:
      m_listView->setViewMode(QListView::ListMode);
      m_listView->setFlow(QListView::LeftToRight);
      m_listView->setGridSize(QSize(picture + 160, picture + 6));
      m_listView->setWordWrap(false);
      break;
    default:  // list, and the list behind the details
      m_listView->setViewMode(QListView::ListMode);
      m_listView->setFlow(QListView::TopToBottom);
      m_listView->setGridSize(QSize());
      m_listView->setWordWrap(false);
      break;
  }
  // The icon mode turns free movement on; items here never move.
  m_listView->setMovement(QListView::Static);
  m_listView->setWrapping(true);
  m_listView->setResizeMode(QListView::Adjust);
  m_listView->setDragDropMode(QAbstractItemView::DragOnly);
  m_listView->setSpacing(m_viewStyle == kViewList ? 1 : 0);
  m_detailsView->setVisible(details);
  m_listView->setVisible(!details);
  QAbstractItemView* shown = List_File();
  if (hadFocus) shown->setFocus();
  const QModelIndex current = m_listView->selectionModel()->currentIndex();
  if (current.isValid()) shown->scrollTo(current);
}

bool Explorer::invokeCommand(const std::string& verb) {
  const QString path = selectedPath();
  if (path.isEmpty()) return false;
  if (verb == kVerbProperties) return showProperties(path);
  if (verb == kVerbDelete) return deleteToTrash(path);
  return false;
}

bool Explorer::showProperties(const QString& path) {
  std::unique_ptr<audio::Information> information;
  if (m_createInformation) information = m_createInformation();
  auto* dialog = new PropertiesDialog(readFileProperties(path, information.get()), this);
  dialog->setPalette(palette());  // a window of its own does not take the panel's look
  dialog->show();
  m_properties = dialog;
  return true;
}

bool Explorer::deleteToTrash(const QString& path) {
  const QFileInfo item(path);
  if (!QFileInfo(item.absolutePath()).isWritable()) return false;  // no permission: refused
  if (!m_prompts.confirmDelete || !m_prompts.confirmDelete(this, path)) return false;
  const TrashResult result = moveToTrash(path);
  if (!result.moved) {
    if (m_prompts.showWarning) {
      m_prompts.showWarning(this, QStringLiteral("\"%1\" could not be sent to the trash and stays "
                                                 "where it is.\n\n%2")
                                      .arg(item.fileName(), result.error));
    }
    return false;
  }
  return true;
}

}  // namespace quillon::explorer
