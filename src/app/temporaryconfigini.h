// STAND-IN, to be replaced by the settings layer (ReadIni/WriteIni with its
// safe write): Config.ini's keys through QSettings, enough for the first run.
// UI thread.
#pragma once

#include <QString>

#include "app/configkeys.h"

namespace quillon::app {

class TemporaryConfigIni : public ConfigKeys {
 public:
  explicit TemporaryConfigIni(QString path) : m_path(std::move(path)) {}

  std::string readKey(const std::string& section, const std::string& key) override;
  void writeKey(const std::string& section, const std::string& key,
                const std::string& value) override;

 private:
  QString m_path;
};

}  // namespace quillon::app
