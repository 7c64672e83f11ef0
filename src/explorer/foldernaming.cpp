#include "explorer/foldernaming.h"

namespace quillon::explorer {

std::optional<std::string> uniqueFolderName(const std::string& wanted,
                                            const std::function<bool(const std::string&)>& exists,
                                            int maxTries) {
  if (!exists(wanted)) return wanted;
  for (int n = 2; n <= maxTries; ++n) {
    std::string candidate = wanted + " (" + std::to_string(n) + ")";
    if (!exists(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace quillon::explorer
