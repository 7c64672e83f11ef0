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

// Where the program runs, where it was built and whether a Config.ini is
// beside it, against where Config.ini is kept (empty: the user's folder).
TEST(ConfigIniPath, BesideABuildOrPortableCopyElseInTheUsersFolder) {
  const fs::path user = "/home/ana/.config/quillon";
  const struct {
    const char* programFolder;
    const char* buildFolder;
    bool iniBeside;
    const char* expected;
  } cases[] = {
      {"/home/ana/quillon/build", "/home/ana/quillon/build/", false,
       "/home/ana/quillon/build/Config.ini"},
      {"/home/ana/quillon/build", "/home/ana/quillon/src/../build", false,
       "/home/ana/quillon/build/Config.ini"},
      {"/media/ana/stick/quillon", "/home/ana/quillon/build", true,
       "/media/ana/stick/quillon/Config.ini"},
      {"/tmp/quillon", "/home/ana/quillon/build", false, ""},
      {"/usr/local/bin", "/home/ana/quillon/build", false, ""},
      {"/usr/bin", "/home/ana/quillon/build", true, ""},        // never one in /usr/bin
      {"/opt/quillon/build", "/opt/quillon/build", false, ""},  // built in a system folder
      {"/tmp/q", "", false, ""},                                // no build folder known
  };
  for (const auto& c : cases) {
    const fs::path expected = *c.expected ? fs::path(c.expected) : user / "Config.ini";
    EXPECT_EQ(configIniPath({c.programFolder, c.buildFolder, user, c.iniBeside}), expected)
        << c.programFolder << " built in " << c.buildFolder;
  }
}

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
