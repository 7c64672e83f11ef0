// The toolbar's Open and Save: the file dialogs, the ".pal" rule, the load
// into the carts and the message after saving. The message says the palette
// was saved only when the file was written; otherwise a warning names the
// file and the system's reason. UI thread.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "palette/palettecarts.h"
#include "palette/palettedialogs.h"

namespace quillon::cart {
class Cartouche;
}

namespace quillon::palette {

class PaletteCommands {
 public:
  // The grid's carts, index 0 to 25, at the moment a command runs.
  using CartsProvider = std::function<std::vector<cart::Cartouche*>()>;

  PaletteCommands(CartsProvider carts, PaletteDialogs dialogs);

  void SavePalette();
  void OpenPalette();
  // Also called by the favourites.
  PaletteLoadReport LoadPaletteFile(const QString& path);

 private:
  CartsProvider m_carts;
  PaletteDialogs m_dialogs;
};

}  // namespace quillon::palette
