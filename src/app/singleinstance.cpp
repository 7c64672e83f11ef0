#include "app/singleinstance.h"

#include <QDir>
#include <QStandardPaths>

namespace quillon::app {

SingleInstance::SingleInstance(const QString& runtimeFolder)
    : m_path(QDir(runtimeFolder).filePath(kLockName)), m_lock(m_path) {
  m_first = m_lock.tryLock(0) || m_lock.error() != QLockFile::LockFailedError;
}

QString userRuntimeFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

}  // namespace quillon::app
