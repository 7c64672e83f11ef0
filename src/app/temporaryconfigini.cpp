#include "app/temporaryconfigini.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace quillon::app {

namespace {
QString keyPath(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}
}  // namespace

std::string TemporaryConfigIni::readKey(const std::string& section, const std::string& key) {
  if (!QFileInfo(m_path).isFile()) return {};  // reading creates nothing
  const QSettings ini(m_path, QSettings::IniFormat);
  return ini.value(keyPath(section, key)).toString().toStdString();
}

void TemporaryConfigIni::writeKey(const std::string& section, const std::string& key,
                                  const std::string& value) {
  // Failures are not reported: the next start simply reads the old value.
  if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) return;
  QSettings ini(m_path, QSettings::IniFormat);
  ini.setValue(keyPath(section, key), QString::fromStdString(value));
  ini.sync();
}

}  // namespace quillon::app
