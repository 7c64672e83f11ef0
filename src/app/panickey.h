// The panic key: Escape stops every cart, Shift+Escape fades every playing
// cart out. Escape keeps its ordinary meaning wherever it has one: a menu, a
// combo box's list, a dialog, a drag or an in-place editor takes it first.
// UI thread.
#pragma once

class QKeyEvent;
class QWidget;

namespace quillon::app {

enum class PanicCommand {
  None,
  StopAll,     // Escape
  FadeOutAll,  // Shift+Escape
};

// What a key press asks of the panic from the key alone. Control, Alt and
// Meta with Escape belong to the desktop; a key held down asks once.
PanicCommand panicCommandOf(const QKeyEvent& key);

// True while Escape belongs to something open in the application rather
// than to `window`: a popup (menu, combo box list), a modal dialog, a
// keyboard grab, another active window, or an item view's in-place editor
// holding the focus. (A drag in progress takes every key itself, before the
// window's filters see it.)
bool escapeBelongsElsewhere(const QWidget& window);

}  // namespace quillon::app
