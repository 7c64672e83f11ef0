#include "app/cartoucheur.h"

namespace quillon::app {

Cartoucheur::Cartoucheur(QWidget* parent) : QMainWindow(parent) { setWindowTitle(kCaption); }

}  // namespace quillon::app
