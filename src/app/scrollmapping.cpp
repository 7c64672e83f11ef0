#include "app/scrollmapping.h"

#include <algorithm>

namespace quillon::app {

ToolkitScrollBar toToolkitScrollBar(const ScrollBarState& bar) {
  const int lowest = std::min(bar.minimum, bar.maximum);  // 0 when nothing scrolls
  return {0, -lowest, std::clamp(-bar.value, 0, -lowest), bar.smallChange, bar.largeChange};
}

int fromToolkitScrollValue(int toolkitValue) { return -toolkitValue; }

}  // namespace quillon::app
