#include "app/firstrun.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace quillon::app {
namespace {

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
