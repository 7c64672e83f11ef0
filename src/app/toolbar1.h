// Toolbar1: the five commands at positions 1, 3, 5, 7 and 9 with separators
// between them, and room on the right for the favourites inset. Reports a
// click by the button's position alone. UI thread.
#pragma once

#include <QWidget>

class QToolButton;

namespace quillon::app {

class Toolbar1 : public QWidget {
  Q_OBJECT

 public:
  explicit Toolbar1(QWidget* parent);

  // The button at a position; nullptr for a separator.
  QToolButton* button(int position) const;

 signals:
  void buttonClicked(int position);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillon::app
