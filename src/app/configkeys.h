// Key access to Config.ini as the start-up needs it: read and write one key
// of a section. The settings layer's INI files stand behind it in the
// program; tests put a map. UI thread.
#pragma once

#include <string>

namespace quillon::app {

class ConfigKeys {
 public:
  virtual ~ConfigKeys() = default;
  // The key's value; the empty string when the file, section or key is missing.
  virtual std::string readKey(const std::string& section, const std::string& key) = 0;
  // A failure to write is not reported.
  virtual void writeKey(const std::string& section, const std::string& key,
                        const std::string& value) = 0;
};

}  // namespace quillon::app
