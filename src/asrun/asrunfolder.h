// Where the as-run files go when the settings name no folder: the user's
// data folder under the XDG rule, "quillon/as-run" inside it.
#pragma once

#include <filesystem>

namespace quillon::asrun {

// $XDG_DATA_HOME/quillon/as-run when that is set to an absolute path, else
// $HOME/.local/share/quillon/as-run; empty when neither can be used. Takes
// the two variables' values (null when unset) so that it reads no
// environment of its own.
std::filesystem::path defaultAsRunFolder(const char* xdgDataHome, const char* home);

}  // namespace quillon::asrun
