// The main window's status bar (object name "StatusBar1"): the program's
// name at its left, the on-air view in the middle, the message area at its
// right. It only draws: what plays comes from OnAirList, what is said from
// StatusMessages. UI thread.
#pragma once

#include <QStatusBar>
#include <vector>

#include "app/onairlist.h"
#include "app/statusmessages.h"

class QLabel;

namespace quillon::app {

class StatusBar1 : public QStatusBar {
  Q_OBJECT

 public:
  // `programName` shows at the left.
  explicit StatusBar1(const QString& programName, QWidget* parent = nullptr);

  void showOnAir(const std::vector<OnAirEntry>& entries);
  void showMessages(const StatusMessages& messages);

  // What the two areas read, as plain text (for tests and accessibility).
  QString onAirText() const;
  QString messageText() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* m_program;
  QLabel* m_onAir;
  // Fits the message's text into its area.
  void fitMessage();

  QLabel* m_message;
  QString m_messageText;  // whole, as the area may show it shortened
  std::vector<OnAirEntry> m_shown;
};

}  // namespace quillon::app
