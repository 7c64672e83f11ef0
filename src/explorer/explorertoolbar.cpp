#include "explorer/explorertoolbar.h"

#include <QPainter>

#include "explorer/explorerartwork.h"
#include "explorer/toolbarcommands.h"

namespace quillon::explorer {

ExplorerToolbar::ExplorerToolbar(QWidget* parent) : QWidget(parent) {
  setObjectName("Toolbar1");
  for (const ToolbarButton& spec : kToolbarButtons) {
    if (spec.kind == ButtonKind::Spacer) continue;
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("Toolbar1_%1").arg(spec.index));
    button->setIcon(QIcon(drawToolbarPicture(spec.picture)));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(QString::fromUtf8(spec.toolTip));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);  // the letters belong to the carts
    button->setCheckable(spec.kind == ButtonKind::Group);
    const int index = spec.index;
    connect(button, &QToolButton::clicked, this, [this, index] { emit buttonClicked(index); });
    m_buttons[static_cast<std::size_t>(index - 1)] = button;
  }
  placeButtons();
}

QToolButton* ExplorerToolbar::button(int index) const {
  if (index < 1 || index > static_cast<int>(m_buttons.size())) return nullptr;
  return m_buttons[static_cast<std::size_t>(index - 1)];
}

void ExplorerToolbar::setGroupDown(int index) {
  for (int i = ViewButtonGroup::kFirst; i <= ViewButtonGroup::kLast; ++i) {
    if (QToolButton* b = button(i)) b->setChecked(i == index);
  }
}

void ExplorerToolbar::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeButtons();
}

void ExplorerToolbar::placeButtons() {
  int x = 0;
  for (const ToolbarButton& spec : kToolbarButtons) {
    if (spec.kind == ButtonKind::Spacer) {
      x += kSpacerWidth;
      continue;
    }
    button(spec.index)->setGeometry(x, 0, kButtonWidth, height());
    x += kButtonWidth;
  }
}

void ExplorerToolbar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(StudioColours::line());
  int x = 0;
  for (const ToolbarButton& spec : kToolbarButtons) {
    if (spec.kind == ButtonKind::Spacer) {
      p.drawLine(x + kSpacerWidth / 2, 4, x + kSpacerWidth / 2, height() - 5);
      x += kSpacerWidth;
    } else {
      x += kButtonWidth;
    }
  }
}

}  // namespace quillon::explorer
