#include "app/firstrun.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace quillon::app {
namespace {

// Config.ini in memory, with every access noted in order.
struct MemoryConfig : ConfigKeys {
  std::map<std::string, std::string> keys;
  std::vector<std::string>* journal = nullptr;

  std::string readKey(const std::string& section, const std::string& key) override {
    auto it = keys.find(section + "/" + key);
    return it == keys.end() ? std::string() : it->second;
  }
  void writeKey(const std::string& section, const std::string& key,
                const std::string& value) override {
    keys[section + "/" + key] = value;
    journal->push_back("write " + section + "/" + key + "=" + value);
  }
};

class FirstRunValue : public testing::TestWithParam<const char*> {};

TEST_P(FirstRunValue, AnythingButExactlyOneOpensThePageThenWritesOne) {
  std::vector<std::string> journal;
  MemoryConfig config;
  config.journal = &journal;
  config.keys["FirstExec/Value"] = GetParam();
  runFirstRun(config, [&] { journal.push_back("open"); });
  EXPECT_EQ(journal, (std::vector<std::string>{"open", "write FirstExec/Value=1"}));
  EXPECT_EQ(config.keys["FirstExec/Value"], "1");
}

// Exactly "1" opens nothing: the window's test runs that second start.
INSTANTIATE_TEST_SUITE_P(Values, FirstRunValue,
                         testing::Values("", "0", "yes", "2", " 1", "1 ", "01", "true"));

}  // namespace
}  // namespace quillon::app
