// Config.ini: where it is kept, where the welcome page is looked for, and
// the first run's key.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/configlocation.h"
#include "app/firstrun.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

struct PlaceCase {
  const char* what;
  ProgramPlace place;
  fs::path expected;
};

class ConfigIniPath : public testing::TestWithParam<PlaceCase> {};

TEST_P(ConfigIniPath, FollowsWhereTheProgramRuns) {
  EXPECT_EQ(configIniPath(GetParam().place), GetParam().expected) << GetParam().what;
}

const fs::path kUser = "/home/ana/.config/quillon";

INSTANTIATE_TEST_SUITE_P(
    Places, ConfigIniPath,
    testing::Values(
        PlaceCase{"build tree",
                  {"/home/ana/quillon/build", "/home/ana/quillon/build/", kUser, false},
                  "/home/ana/quillon/build/Config.ini"},
        PlaceCase{"build tree, through ..",
                  {"/home/ana/quillon/build", "/home/ana/quillon/src/../build", kUser, false},
                  "/home/ana/quillon/build/Config.ini"},
        PlaceCase{"portable copy with its Config.ini",
                  {"/media/ana/stick/quillon", "/home/ana/quillon/build", kUser, true},
                  "/media/ana/stick/quillon/Config.ini"},
        PlaceCase{"copy without Config.ini",
                  {"/tmp/quillon", "/home/ana/quillon/build", kUser, false},
                  kUser / "Config.ini"},
        PlaceCase{"installed",
                  {"/usr/local/bin", "/home/ana/quillon/build", kUser, false},
                  kUser / "Config.ini"},
        PlaceCase{"a Config.ini in /usr/bin is never used",
                  {"/usr/bin", "/home/ana/quillon/build", kUser, true},
                  kUser / "Config.ini"},
        PlaceCase{"built in a system folder",
                  {"/opt/quillon/build", "/opt/quillon/build", kUser, false},
                  kUser / "Config.ini"},
        PlaceCase{"no build folder known", {"/tmp/q", "", kUser, false}, kUser / "Config.ini"}));

TEST(SystemFolder, TheSystemsFoldersAndNothingElse) {
  for (const char* system : {"/usr/bin", "/usr/bin/", "/usr/local/bin", "/usr", "/", "/bin",
                             "/opt/quillon", "/etc", "/var/lib/quillon", "/snap/bin", ""}) {
    EXPECT_TRUE(isSystemFolder(system)) << system;
  }
  for (const char* user : {"/home/ana/bin", "/tmp/quillon", "/usrlocal", "/media/stick",
                           "/usr/../home/ana", "/root/quillon"}) {
    EXPECT_FALSE(isSystemFolder(user)) << user;
  }
}

TEST(WelcomePage, BesideTheProgramThenItsInstallTreeThenTheInstalledDataFolder) {
  EXPECT_EQ(welcomePageCandidates("/opt/q/bin", "/usr/local/share"),
            (std::vector<fs::path>{"/opt/q/bin/welcome.html", "/opt/q/share/quillon/welcome.html",
                                   "/usr/local/share/quillon/welcome.html"}));
  // Installed where it was built for: each place once.
  EXPECT_EQ(welcomePageCandidates("/usr/local/bin", "/usr/local/share"),
            (std::vector<fs::path>{"/usr/local/bin/welcome.html",
                                   "/usr/local/share/quillon/welcome.html"}));
}

// Config.ini in memory; writes and the page's opening noted in order.
struct MemoryConfig : ConfigKeys {
  std::map<std::string, std::string> keys;
  std::vector<std::string> journal;
  std::string readKey(const std::string& section, const std::string& key) override {
    return keys[section + "/" + key];
  }
  void writeKey(const std::string& section, const std::string& key,
                const std::string& value) override {
    keys[section + "/" + key] = value;
    journal.push_back("write " + section + "/" + key + "=" + value);
  }
};

// Exactly "1" opens nothing: the window's test runs that second start.
TEST(FirstRun, AnythingButExactlyOneOpensThePageThenWritesOne) {
  for (const char* value : {"", "0", "yes", "2", " 1", "1 ", "01", "true"}) {
    SCOPED_TRACE(value);
    MemoryConfig config;
    config.keys["FirstExec/Value"] = value;
    runFirstRun(config, [&] { config.journal.push_back("open"); });
    EXPECT_EQ(config.journal, (std::vector<std::string>{"open", "write FirstExec/Value=1"}));
    EXPECT_EQ(config.keys["FirstExec/Value"], "1");
  }
}

}  // namespace
}  // namespace quillon::app
