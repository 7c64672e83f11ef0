#include "app/configlocation.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace quillon::app {

namespace fs = std::filesystem;

namespace {

// Folders that belong to the system and its packages, never to one user.
constexpr std::array<std::string_view, 12> kSystemRoots = {"/bin",   "/sbin",   "/lib",  "/lib32",
                                                           "/lib64", "/libx32", "/usr",  "/opt",
                                                           "/etc",   "/var",    "/boot", "/snap"};

fs::path normal(const fs::path& path) {
  fs::path n = path.lexically_normal();
  // "/usr/bin/" and "/usr/bin" are one folder.
  if (n.has_relative_path() && !n.has_filename()) n = n.parent_path();
  return n;
}

bool isWithin(const fs::path& folder, const fs::path& root) {
  const fs::path rel = folder.lexically_relative(root);
  return !rel.empty() && *rel.begin() != "..";
}

}  // namespace

bool isSystemFolder(const fs::path& folder) {
  const fs::path n = normal(folder);
  if (n.empty() || n == n.root_path()) return true;  // no folder, or "/"
  return std::any_of(kSystemRoots.begin(), kSystemRoots.end(),
                     [&](std::string_view root) { return isWithin(n, fs::path(root)); });
}

fs::path configIniPath(const ProgramPlace& place) {
  const fs::path program = normal(place.programFolder);
  const bool fromBuildTree = !place.buildFolder.empty() && program == normal(place.buildFolder);
  const bool portable = fromBuildTree || place.configIniInProgramFolder;
  const fs::path folder = portable && !isSystemFolder(program) ? program : place.userConfigFolder;
  return folder / kConfigIniName;
}

std::vector<fs::path> welcomePageCandidates(const fs::path& programFolder,
                                            const fs::path& installedDataFolder) {
  const fs::path program = normal(programFolder);
  std::vector<fs::path> candidates{
      program / kWelcomePageName,
      normal(program / ".." / "share" / "quillon") / kWelcomePageName,
  };
  if (!installedDataFolder.empty()) {
    const fs::path installed = normal(installedDataFolder / "quillon") / kWelcomePageName;
    if (std::find(candidates.begin(), candidates.end(), installed) == candidates.end()) {
      candidates.push_back(installed);
    }
  }
  return candidates;
}

}  // namespace quillon::app
