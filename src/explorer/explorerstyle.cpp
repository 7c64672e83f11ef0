#include "explorer/explorerstyle.h"

#include <QPalette>
#include <QWidget>

#include "explorer/explorerartwork.h"

namespace quillon::explorer {

void applyStudioLook(QWidget* panel) {
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, StudioColours::panel());
  palette.setColor(QPalette::WindowText, StudioColours::text());
  palette.setColor(QPalette::Base, StudioColours::base());
  palette.setColor(QPalette::AlternateBase, StudioColours::alternate());
  palette.setColor(QPalette::Text, StudioColours::text());
  palette.setColor(QPalette::Button, StudioColours::panel());
  palette.setColor(QPalette::ButtonText, StudioColours::text());
  palette.setColor(QPalette::Highlight, StudioColours::accent().darker(150));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::ToolTipBase, StudioColours::base());
  palette.setColor(QPalette::ToolTipText, StudioColours::text());
  palette.setColor(QPalette::PlaceholderText, StudioColours::dimText());
  panel->setPalette(palette);
  panel->setAutoFillBackground(true);
  panel->setStyleSheet(QStringLiteral(R"(
    QComboBox#JamShellCombo1 {
      background: #16181c; color: #e4e7eb; border: 1px solid #3a4048; border-radius: 3px;
      padding: 1px 4px; selection-background-color: #1f5a99;
    }
    QComboBox#JamShellCombo1:focus { border-color: #3d9bff; }
    QComboBox#JamShellCombo1::drop-down { width: 16px; border-left: 1px solid #3a4048; }
    QComboBox#JamShellCombo1 QAbstractItemView {
      background: #16181c; color: #e4e7eb; border: 1px solid #3a4048;
      selection-background-color: #1f5a99;
    }
    QWidget#Toolbar1 { background: transparent; }
    QToolButton { border: 1px solid transparent; border-radius: 3px; padding: 0px; }
    QToolButton:hover { background: #2c323a; border-color: #48505a; }
    QToolButton:pressed { background: #1f5a99; }
    QToolButton:checked { background: #24456b; border-color: #3d9bff; }
    QListView, QTreeView {
      background: #16181c; color: #e4e7eb; border: 1px solid #3a4048;
      selection-background-color: #1f5a99; selection-color: #ffffff; outline: 0;
    }
    QListView::item:hover, QTreeView::item:hover { background: #232830; }
    QListView::item:selected, QTreeView::item:selected { background: #1f5a99; color: #ffffff; }
    QHeaderView::section {
      background: #23272d; color: #9aa0a6; border: 0px; border-right: 1px solid #3a4048;
      border-bottom: 1px solid #3a4048; padding: 2px 6px;
    }
    QScrollBar:vertical, QScrollBar:horizontal { background: #16181c; border: 0px; }
    QScrollBar:vertical { width: 10px; }
    QScrollBar:horizontal { height: 10px; }
    QScrollBar::handle { background: #3a4048; border-radius: 4px; min-height: 24px; min-width: 24px; }
    QScrollBar::handle:hover { background: #4a525c; }
    QScrollBar::add-line, QScrollBar::sub-line { width: 0px; height: 0px; }
    QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }
  )"));
}

}  // namespace quillon::explorer
