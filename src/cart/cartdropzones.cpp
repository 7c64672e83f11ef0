#include "cart/cartdropzones.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include "cart/cartouche.h"

namespace quillon::cart {

std::optional<std::vector<std::string>> fileListOf(const QMimeData* data) {
  if (!data || !data->hasUrls()) return std::nullopt;
  std::vector<std::string> paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  if (paths.empty()) return std::nullopt;
  return paths;
}

DropZones::DropZones(Cartouche& cart, QObject* parent) : QObject(parent), m_cart(cart) {}

void DropZones::forward(QWidget* zone) {
  m_forwarding.insert(zone);
  zone->setAcceptDrops(true);
  zone->installEventFilter(this);
}

void DropZones::swallow(QWidget* element) {
  element->setAcceptDrops(true);
  element->installEventFilter(this);
}

bool DropZones::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave &&
      type != QEvent::Drop) {
    return false;
  }
  if (!m_forwarding.contains(watched)) {
    // Taken, so that Qt does not hand it on to the cart behind, and shown
    // as no drop.
    if (type != QEvent::DragLeave) {
      auto* drop = static_cast<QDropEvent*>(event);
      drop->setDropAction(Qt::IgnoreAction);
      drop->accept();
    }
    return true;
  }
  switch (type) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
      // The data is not looked at before the drop: every drag shows as
      // droppable here.
      m_cart.dragOver();
      static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
      return true;
    case QEvent::DragLeave:
      m_cart.dragOver();
      return true;
    default: {
      auto* drop = static_cast<QDropEvent*>(event);
      drop->acceptProposedAction();
      m_cart.drop(fileListOf(drop->mimeData()));
      return true;
    }
  }
}

}  // namespace quillon::cart
