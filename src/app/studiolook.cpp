#include "app/studiolook.h"

namespace quillon::app::look {

QPalette windowPalette() {
  QPalette p;
  p.setColor(QPalette::Window, kWindow);
  p.setColor(QPalette::WindowText, kText);
  p.setColor(QPalette::Base, QColor(17, 19, 22));
  p.setColor(QPalette::AlternateBase, kPanel);
  p.setColor(QPalette::Text, kText);
  p.setColor(QPalette::Button, kPanelRaised);
  p.setColor(QPalette::ButtonText, kText);
  p.setColor(QPalette::BrightText, Qt::white);
  p.setColor(QPalette::Highlight, kAccent);
  p.setColor(QPalette::HighlightedText, QColor(20, 20, 20));
  p.setColor(QPalette::ToolTipBase, kPanelRaised);
  p.setColor(QPalette::ToolTipText, kText);
  p.setColor(QPalette::PlaceholderText, kTextDim);
  p.setColor(QPalette::Light, kEdgeLight);
  p.setColor(QPalette::Midlight, QColor(48, 52, 60));
  p.setColor(QPalette::Mid, QColor(30, 33, 38));
  p.setColor(QPalette::Dark, kEdgeDark);
  p.setColor(QPalette::Shadow, Qt::black);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, QColor(96, 101, 108));
  }
  return p;
}

QFont uiFont(double points, bool bold) {
  QFont font("Arial");  // Liberation Sans where Arial itself is missing
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

}  // namespace quillon::app::look
