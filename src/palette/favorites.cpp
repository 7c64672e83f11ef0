#include "palette/favorites.h"

#include <QComboBox>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <utility>

namespace quillon::palette {

namespace {

// A closed list turns the wheel into a choice, and a choice loads a palette
// and stops every cart: a stray wheel notch over the list must not. The open
// list's own wheel (scrolling its entries) is a window of its own and stays.
class WheelBlocker final : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Wheel) return true;
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

Favorites::Favorites(QComboBox* comboListePalette, QPushButton* command1, QPushButton* command2,
                     std::filesystem::path configIni, LoadPalette loadPalette,
                     std::function<void()> focusCarts, PaletteDialogs dialogs, QObject* parent)
    : QObject(parent),
      m_list(comboListePalette),
      m_configIni(std::move(configIni)),
      m_loadPalette(std::move(loadPalette)),
      m_focusCarts(std::move(focusCarts)),
      m_dialogs(std::move(dialogs)) {
  connect(command1, &QPushButton::clicked, this, &Favorites::addClick);
  connect(command2, &QPushButton::clicked, this, &Favorites::clearClick);
  // activated: the operator's choice, by a click and a pick or by the
  // keyboard; programmatic changes of the list and the wheel load nothing.
  connect(m_list, &QComboBox::activated, this, &Favorites::choose);
  m_list->installEventFilter(new WheelBlocker(m_list));
  showLinks();
}

void Favorites::EmptyFavorites() {
  m_links.EmptyFavorites();
  showLinks();
}

void Favorites::LoadFavorites() {
  m_links.LoadFavorites(m_configIni, m_exists);
  showLinks();
}

void Favorites::SaveFavorites() { stored(m_links.SaveFavorites(m_configIni)); }

void Favorites::stored(WriteResult result) {
  m_lastSave = std::move(result);
  std::string message = favoritesNotStoredMessage(m_links, m_lastSave);
  if (message == m_notStored) return;
  m_notStored = std::move(message);
  emit notStored(QString::fromStdString(m_notStored));
}

void Favorites::addClick() {
  const std::optional<QString> chosen = m_dialogs.askOpenPath(kAddFavoriteTitle);
  if (!chosen) return;
  m_dialogs.processEvents();
  const std::string path = chosen->toStdString();
  if (!m_exists(path)) return;  // silently, as every failure of the command
  m_links.add(path);            // a path already listed stays where it is
  showLinks();
  SaveFavorites();
}

void Favorites::clearClick() {
  if (!m_dialogs.askYesNo(kClearTitle, kClearQuestion)) return;
  // Written at once; after a failure the next save writes "Nb" again.
  stored(m_links.clearAndStore(m_configIni));
  showLinks();
}

void Favorites::choose(int row) {
  if (row < 0) return;
  const std::string& path = m_links.link(static_cast<std::size_t>(row) + 1);
  if (path.empty()) return;
  m_loadPalette(path);
  if (m_focusCarts) m_focusCarts();
}

void Favorites::showLinks() {
  const QSignalBlocker quiet(m_list);
  m_list->clear();
  const QIcon image = paletteImage();
  const std::vector<std::string> texts = favoriteEntryTexts(m_links);
  for (std::size_t k = 1; k <= m_links.count(); ++k) {
    const QString path = QString::fromStdString(m_links.link(k));
    m_list->addItem(image, QString::fromStdString(texts[k - 1]), path);
    m_list->setItemData(static_cast<int>(k - 1), path, Qt::ToolTipRole);
  }
  m_list->setCurrentIndex(-1);  // nothing chosen until the operator chooses
}

QIcon Favorites::paletteImage() {
  // Four cart tiles in the colours of the carts' states, on a dark card.
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(30, 32, 36), 1));
  painter.setBrush(QColor(58, 62, 70));
  painter.drawRoundedRect(QRectF(0.5, 1.5, 15, 13), 2, 2);
  const QColor tiles[] = {QColor(220, 60, 50), QColor(240, 180, 40), QColor(70, 180, 80),
                          QColor(60, 130, 220)};
  painter.setPen(Qt::NoPen);
  for (int i = 0; i < 4; ++i) {
    painter.setBrush(tiles[i]);
    painter.drawRoundedRect(QRectF(2.5 + (i % 2) * 6, 3.5 + (i / 2) * 5, 5, 4), 1, 1);
  }
  return QIcon(pixmap);
}

}  // namespace quillon::palette
