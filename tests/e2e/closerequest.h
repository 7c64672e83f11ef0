// The close request a window manager sends when its close button is
// clicked (WM_DELETE_WINDOW), which xdotool cannot send without one. Kept
// apart from Qt code: Xlib's macros clash with Qt's headers. Test support.
#pragma once

#include <string>

namespace quillon::test {

// False when the display cannot be opened or the request not sent.
bool sendCloseRequest(const std::string& display, unsigned long window);

}  // namespace quillon::test
