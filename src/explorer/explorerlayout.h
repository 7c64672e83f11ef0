// The explorer panel's layout rule, in twips: where the folder chooser, the
// toolbar and the file list go when the panel's size changes. Plain state,
// no widgets; the panel converts the result to pixels. UI thread.
#pragma once

#include "common/twipsrect.h"

namespace quillon::explorer {

// The three parts' places, relative to the panel, as designed until the
// first resize.
struct ExplorerLayout {
  static constexpr float kDesignWidth = 8820;
  static constexpr float kDesignHeight = 6525;
  // The folder chooser's design width: the toolbar moves to the right edge
  // only when at least this much room is left beside it.
  static constexpr float kChooserDesignWidth = 3375;
  // Between the folder chooser's right edge and the toolbar.
  static constexpr float kChooserGap = 20;

  TwipsRect JamShellCombo1{0, 0, kChooserDesignWidth, 330};
  TwipsRect Toolbar1{3480, 0, 3420, 330};
  TwipsRect List_File{0, 345, 8775, 5655};

  friend bool operator==(const ExplorerLayout&, const ExplorerLayout&) = default;
};

// The panel's resize (also run at its first display): the list fills the
// panel below its top; the toolbar goes to the right edge and the chooser
// takes the room left of it, when that room is at least the chooser's design
// width; otherwise both keep their places and sizes. A size the list cannot
// take (a panel lower than the list's top) gives it height 0.
ExplorerLayout resizeExplorer(const ExplorerLayout& current, float panelWidth, float panelHeight);

}  // namespace quillon::explorer
