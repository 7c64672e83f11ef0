// The explorer panel's dark studio look: palette and style sheet for the
// panel and everything in it. UI thread.
#pragma once

class QWidget;

namespace quillon::explorer {

void applyStudioLook(QWidget* panel);

}  // namespace quillon::explorer
