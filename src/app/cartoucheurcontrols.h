// The main window's controls as designed, made once when the window is
// created; their places come from the window's geometry. UI thread.
#pragma once

#include <array>
#include <cstddef>

#include "app/windowgeometry.h"
#include "audio/engine.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QWidget;

namespace quillon::explorer {
class Explorer;
}

namespace quillon::clock {
class ClockPanel;
}

namespace quillon::app {

class CartViewport;
class SplitterBar;
class StatusBar1;
class TitleBar;
class Toolbar1;

// The window's controls, each under an English name with its design name
// (the Panel it shows, and its object name) beside it. Each is recorded
// against its Panel as it is made, so widgetOf needs no list of its own.
struct CartoucheurControls {
  Toolbar1* toolbar = nullptr;             // Toolbar1
  QWidget* favouritesInset = nullptr;      // Picture6
  QLabel* favouritesCaption = nullptr;     // FavoriteCaption
  QComboBox* favouritesList = nullptr;     // ComboListePalette
  QPushButton* addFavourite = nullptr;     // Command1
  QPushButton* clearFavourites = nullptr;  // Command2
  TitleBar* explorerTitle = nullptr;       // BarExplorer
  explorer::Explorer* explorer = nullptr;  // Explorer1
  clock::ClockPanel* clock = nullptr;      // Picture2
  SplitterBar* splitter = nullptr;         // Picture4
  TitleBar* cartAreaTitle = nullptr;       // Picture3
  QLabel* deviceCaption = nullptr;         // Label54
  QComboBox* deviceList = nullptr;         // Combo4
  CartViewport* cartViewport = nullptr;    // Picture1
  QWidget* cartCanvas = nullptr;           // Picture5
  QScrollBar* cartScrollBar = nullptr;     // VScroll1
  StatusBar1* statusBar = nullptr;         // StatusBar1

  // The widget that shows a panel; nullptr for the title bars' pictures,
  // which their bars draw.
  QWidget* widgetOf(Panel panel) const { return m_byPanel[static_cast<std::size_t>(panel)]; }
  // Records `widget` as the one that shows `panel`, and returns it.
  template <typename W>
  W* add(Panel panel, W* widget) {
    m_byPanel[static_cast<std::size_t>(panel)] = widget;
    return widget;
  }

 private:
  std::array<QWidget*, kPanelCount> m_byPanel{};
};

CartoucheurControls buildControls(QWidget* window, audio::Engine& engine);

}  // namespace quillon::app
