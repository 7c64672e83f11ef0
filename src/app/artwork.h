// The main window's pictures, drawn here rather than shipped as files: the
// toolbar's icons, the title bars' background picture and the program's icon
// (also written to PNG files at build time for the desktop's menu).
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include "app/toolbarcommands.h"

namespace quillon::app::artwork {

// The icon of a toolbar command; a null icon for ToolbarCommand::None.
QIcon toolbarIcon(ToolbarCommand command);

// The title bars' background picture (Image20, Image3): a brushed-steel band
// that is stretched to the bar's width.
QPixmap titleBarBackground(int height);

// The program's icon, `size` pixels square.
QImage programIcon(int size);
QIcon programWindowIcon();

}  // namespace quillon::app::artwork
