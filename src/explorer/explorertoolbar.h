// The explorer's toolbar (Toolbar1): eleven buttons at their indexes, with
// the pictures of ImageList1; 3 and 9 are spacers. It reports a click by the
// button's index only; which group button is down is set by its owner.
// UI thread.
#pragma once

#include <QToolButton>
#include <QWidget>
#include <array>

namespace quillon::explorer {

class ExplorerToolbar : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kButtonWidth = 23;
  static constexpr int kSpacerWidth = 10;

  explicit ExplorerToolbar(QWidget* parent = nullptr);

  // Button `index` (1 to 11); nullptr for a spacer or no such button.
  QToolButton* button(int index) const;
  // Puts group button `index` down and the other group buttons up.
  void setGroupDown(int index);

 signals:
  void buttonClicked(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;  // the spacers' dividers

 private:
  void placeButtons();

  std::array<QToolButton*, 11> m_buttons{};
};

}  // namespace quillon::explorer
