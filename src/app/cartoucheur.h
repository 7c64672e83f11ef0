// The main window. UI thread.
#pragma once

#include <QMainWindow>

namespace quillon::app {

class Cartoucheur : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Quillon V1.0";

  explicit Cartoucheur(QWidget* parent = nullptr);
};

}  // namespace quillon::app
