#include "app/panickey.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quillon::app {

namespace {

// An editor an item view opened over one of its items (a folder being
// renamed): item views put their editors inside their viewport.
bool isInPlaceEditor(const QWidget* widget) {
  for (const QWidget* p = widget->parentWidget(); p != nullptr; p = p->parentWidget()) {
    const auto* view = qobject_cast<const QAbstractItemView*>(p->parentWidget());
    if (view != nullptr && view->viewport() == p) return true;
  }
  return false;
}

}  // namespace

PanicCommand panicCommandOf(const QKeyEvent& key) {
  if (key.key() != Qt::Key_Escape || key.isAutoRepeat()) return PanicCommand::None;
  const Qt::KeyboardModifiers others = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  if (key.modifiers() & others) return PanicCommand::None;
  return key.modifiers() & Qt::ShiftModifier ? PanicCommand::FadeOutAll : PanicCommand::StopAll;
}

bool escapeBelongsElsewhere(const QWidget& window) {
  if (!window.isActiveWindow()) return true;
  if (QApplication::activePopupWidget() != nullptr) return true;
  if (QApplication::activeModalWidget() != nullptr) return true;
  if (const QWidget* grabber = QWidget::keyboardGrabber(); grabber && grabber != &window) {
    return true;
  }
  const QWidget* focus = QApplication::focusWidget();
  return focus != nullptr && isInPlaceEditor(focus);
}

}  // namespace quillon::app
