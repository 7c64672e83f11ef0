// Config.ini key access on the program's settings layer: every read and
// write goes to the file at once, each write whole or not at all. UI thread.
#pragma once

#include <filesystem>

#include "app/configkeys.h"
#include "palette/inifile.h"

namespace quillon::app {

class IniConfigKeys : public ConfigKeys {
 public:
  explicit IniConfigKeys(std::filesystem::path file) : m_file(std::move(file)) {}

  std::string readKey(const std::string& section, const std::string& key) override {
    return palette::ReadIni(m_file, section, key);
  }
  void writeKey(const std::string& section, const std::string& key,
                const std::string& value) override {
    // The user's configuration folder may not exist yet on a first run.
    std::error_code ignored;
    std::filesystem::create_directories(m_file.parent_path(), ignored);
    // The start-up goes on when a write fails; the value is asked again next run.
    (void)palette::WriteIni(m_file, section, key, value);
  }

 private:
  std::filesystem::path m_file;
};

}  // namespace quillon::app
