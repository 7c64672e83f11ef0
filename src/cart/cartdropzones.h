// The cart's drop zones. The body and six of its elements (play button,
// title, running time, letter, trace and position track) take every drag:
// each drag-over report, entering, moving or leaving, raises the cart's
// `Survole`, and a drop goes to the cart, which raises `AffectFile` and
// binds what it accepts. The other elements (stop and pause buttons, the
// switch labels, the volume control, the thumb, the length) take a drag too
// but swallow it, so that a drop there reaches neither them nor the cart
// behind them. UI thread.
#pragma once

#include <QObject>
#include <QSet>
#include <optional>
#include <string>
#include <vector>

class QMimeData;
class QWidget;

namespace quillon::cart {

class Cartouche;

// The local files of a file-list drag (text/uri-list), in list order, as
// UTF-8 paths; nothing when the data holds no local file.
std::optional<std::vector<std::string>> fileListOf(const QMimeData* data);

class DropZones : public QObject {
 public:
  DropZones(Cartouche& cart, QObject* parent);

  void forward(QWidget* zone);
  void swallow(QWidget* element);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Cartouche& m_cart;
  QSet<const QObject*> m_forwarding;
};

}  // namespace quillon::cart
