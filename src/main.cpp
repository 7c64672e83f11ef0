#include <QApplication>

#include "app/cartoucheur.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  quillon::app::Cartoucheur window;
  window.show();
  return QApplication::exec();
}
