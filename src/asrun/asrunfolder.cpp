#include "asrun/asrunfolder.h"

namespace quillon::asrun {

std::filesystem::path defaultAsRunFolder(const char* xdgDataHome, const char* home) {
  namespace fs = std::filesystem;
  // The XDG rule: a relative value is invalid and is ignored.
  if (xdgDataHome != nullptr && fs::path(xdgDataHome).is_absolute()) {
    return fs::path(xdgDataHome) / "quillon" / "as-run";
  }
  if (home != nullptr && fs::path(home).is_absolute()) {
    return fs::path(home) / ".local" / "share" / "quillon" / "as-run";
  }
  return {};
}

}  // namespace quillon::asrun
