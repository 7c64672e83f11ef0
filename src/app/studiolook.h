// The main window's colours and fonts: a dark studio look that stays legible
// under studio lighting, with amber for what asks for attention.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

namespace quillon::app::look {

inline const QColor kWindow{21, 23, 27};
inline const QColor kCartCanvas{18, 20, 23};  // behind the cart grid
inline const QColor kPanel{29, 32, 38};
inline const QColor kPanelRaised{38, 42, 49};
inline const QColor kEdgeLight{58, 63, 71};
inline const QColor kEdgeDark{10, 11, 13};
inline const QColor kText{232, 234, 237};
inline const QColor kTextDim{154, 160, 166};
inline const QColor kAccent{245, 166, 35};
inline const QColor kCaptionShadow{64, 64, 64};  // the title bars' caption shadow

// The palette of the main window and its controls (not of its dialogs).
QPalette windowPalette();
// The window's text; `points` for larger or smaller text.
QFont uiFont(double points = 9, bool bold = false);

}  // namespace quillon::app::look
