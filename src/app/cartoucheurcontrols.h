// The main window's controls as designed, made once when the window is
// created; their places come from the window's geometry. UI thread.
#pragma once

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

struct CartoucheurControls {
  Toolbar1* toolbar1 = nullptr;
  QWidget* picture6 = nullptr;
  QLabel* favoriteCaption = nullptr;
  QComboBox* comboListePalette = nullptr;
  QPushButton* command1 = nullptr;
  QPushButton* command2 = nullptr;
  TitleBar* barExplorer = nullptr;
  explorer::Explorer* explorer1 = nullptr;
  clock::ClockPanel* picture2 = nullptr;
  SplitterBar* picture4 = nullptr;
  TitleBar* picture3 = nullptr;
  QLabel* label54 = nullptr;
  QComboBox* combo4 = nullptr;
  CartViewport* picture1 = nullptr;
  QWidget* picture5 = nullptr;
  QScrollBar* vscroll1 = nullptr;
  StatusBar1* statusBar1 = nullptr;

  // The widget that shows a panel; nullptr for the title bars' pictures,
  // which their bars draw.
  QWidget* widgetOf(Panel panel) const;
};

CartoucheurControls buildControls(QWidget* window, audio::Engine& engine);

}  // namespace quillon::app
