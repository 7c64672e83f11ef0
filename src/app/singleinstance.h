// One Quillon per user session: a lock file in the user's runtime folder,
// taken without waiting. A lock left by a killed instance is taken over;
// one whose owner still runs keeps it, however old it is. UI thread.
#pragma once

#include <QLockFile>
#include <QString>

namespace quillon::app {

class SingleInstance {
 public:
  static constexpr const char* kLockName = "quillon.lock";

  // Tries the lock in `runtimeFolder` (tests give each run its own).
  explicit SingleInstance(const QString& runtimeFolder);

  // False when another instance runs: this one must end at once. A lock
  // that cannot be made at all (an unwritable runtime folder) does not keep
  // the program from starting.
  bool isFirst() const { return m_first; }
  QString lockPath() const { return m_path; }

 private:
  QString m_path;
  QLockFile m_lock;
  bool m_first = false;
};

// The platform's runtime folder for the user (created when missing).
QString userRuntimeFolder();

}  // namespace quillon::app
