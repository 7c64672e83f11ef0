// Where Config.ini lives and where the welcome page is found. Config.ini is
// in the program's own folder when the program runs from its build tree or
// a Config.ini is already there (a portable copy); an installed program
// keeps it in the user's configuration folder. A system folder (/usr/bin
// and the like) is never chosen, even when the program runs as root.
#pragma once

#include <filesystem>
#include <vector>

namespace quillon::app {

inline constexpr const char* kConfigIniName = "Config.ini";
inline constexpr const char* kWelcomePageName = "welcome.html";

struct ProgramPlace {
  std::filesystem::path programFolder;     // the executable's folder
  std::filesystem::path buildFolder;       // the tree the program was built in
  std::filesystem::path userConfigFolder;  // the platform's per-user folder of the program
  bool configIniInProgramFolder = false;
};

bool isSystemFolder(const std::filesystem::path& folder);
std::filesystem::path configIniPath(const ProgramPlace& place);

// Where the welcome page may be, most likely first: beside the program (the
// build tree, a portable copy), in the data folder of the install tree the
// program sits in, in the data folder it was installed for.
std::vector<std::filesystem::path> welcomePageCandidates(
    const std::filesystem::path& programFolder, const std::filesystem::path& installedDataFolder);

}  // namespace quillon::app
