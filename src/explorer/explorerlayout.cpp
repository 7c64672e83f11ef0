#include "explorer/explorerlayout.h"

#include <algorithm>

namespace quillon::explorer {

ExplorerLayout resizeExplorer(const ExplorerLayout& current, float panelWidth, float panelHeight) {
  ExplorerLayout next = current;
  next.List_File.height = std::max(0.0f, panelHeight - next.List_File.top);
  next.List_File.width = std::max(0.0f, panelWidth);
  if (panelWidth - next.Toolbar1.width >= ExplorerLayout::kChooserDesignWidth) {
    next.Toolbar1.left = panelWidth - next.Toolbar1.width;
    next.JamShellCombo1.width = next.Toolbar1.left - ExplorerLayout::kChooserGap;
  }
  return next;
}

}  // namespace quillon::explorer
