// The about window: what the program is, and links to its web site and its
// mail address. Modal. UI thread.
#pragma once

#include <QDialog>

namespace quillon::about {

class Shell;

class Form1 : public QDialog {
  Q_OBJECT

 public:
  Form1(Shell& shell, QWidget* parent = nullptr);

  // The link clicks, also for tests.
  void openWebSite();
  void openMail();

 private:
  Shell& m_shell;
};

}  // namespace quillon::about
