#include "app/toolbar1.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>

#include "app/artwork.h"
#include "app/studiolook.h"
#include "app/toolbarcommands.h"

namespace quillon::app {

namespace {

constexpr const char* kPositionProperty = "toolbarPosition";

QWidget* separator(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFixedWidth(9);
  line->setStyleSheet(
      "QFrame { border: none; margin: 9px 4px;"
      " border-left: 1px solid rgb(14,15,17); border-right: 1px solid rgb(62,67,76); }");
  return line;
}

}  // namespace

Toolbar1::Toolbar1(QWidget* parent) : QWidget(parent) {
  setObjectName("Toolbar1");
  setAttribute(Qt::WA_OpaquePaintEvent);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 3, 6, 3);
  row->setSpacing(2);
  for (const ToolbarButton& entry : kToolbarButtons) {
    if (entry.command == ToolbarCommand::None) {
      row->addWidget(separator(this));
      continue;
    }
    auto* button = new QToolButton(this);
    button->setObjectName(entry.text);
    button->setText(entry.text);
    button->setIcon(artwork::toolbarIcon(entry.command));
    button->setIconSize(QSize(20, 20));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // the grid keeps the keyboard
    button->setFont(look::uiFont(9));
    button->setProperty(kPositionProperty, entry.position);
    button->setStyleSheet(
        "QToolButton { color: rgb(232,234,237); border: 1px solid transparent;"
        " border-radius: 4px; padding: 3px 7px 3px 5px; }"
        "QToolButton:hover { background: rgb(56,61,70); border-color: rgb(72,78,89); }"
        "QToolButton:pressed { background: rgb(245,166,35); color: rgb(20,20,20); }");
    const int position = entry.position;
    connect(button, &QToolButton::clicked, this,
            [this, position] { emit buttonClicked(position); });
    row->addWidget(button);
  }
  row->addStretch(1);
}

QToolButton* Toolbar1::button(int position) const {
  for (QToolButton* b : findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
    if (b->property(kPositionProperty).toInt() == position) return b;
  }
  return nullptr;
}

void Toolbar1::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient band(0, 0, 0, height());
  band.setColorAt(0, QColor(44, 48, 55));
  band.setColorAt(1, QColor(30, 33, 38));
  p.fillRect(rect(), band);
  p.setPen(look::kEdgeDark);
  p.drawLine(0, height() - 1, width(), height() - 1);
}

}  // namespace quillon::app
