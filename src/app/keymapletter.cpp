#include "app/keymapletter.h"

#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>

#if QT_CONFIG(xcb) && defined(QUILLON_HAVE_XLIB)
#define QUILLON_ASK_XLIB 1
// Last: Xlib's macros clash with Qt's headers.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#endif

namespace quillon::app {

std::optional<char> latinLetterInKeymap(std::uint32_t xKeycode) {
#if defined(QUILLON_ASK_XLIB)
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (display == nullptr || xKeycode < 8 || xKeycode > 255) return std::nullopt;
  // Read at each press (one round trip, for non-Latin presses only): the map
  // changes when the operator runs setxkbmap, and Xlib's copy is not told.
  int perKeycode = 0;
  KeySym* symbols = XGetKeyboardMapping(display, static_cast<KeyCode>(xKeycode), 1, &perKeycode);
  if (symbols == nullptr) return std::nullopt;
  std::optional<char> letter;
  for (int i = 0; i < perKeycode && !letter; ++i) {
    const KeySym symbol = symbols[i];
    if (symbol >= XK_a && symbol <= XK_z) letter = static_cast<char>('A' + (symbol - XK_a));
    if (symbol >= XK_A && symbol <= XK_Z) letter = static_cast<char>('A' + (symbol - XK_A));
  }
  XFree(symbols);
  return letter;
#else
  (void)xKeycode;
  return std::nullopt;
#endif
}

}  // namespace quillon::app
