#include "programrun.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

namespace quillon::test {

void KillOnDelete::operator()(QProcess* process) const {
  if (process->state() != QProcess::NotRunning) {
    process->kill();
    process->waitForFinished(10000);
  }
  delete process;
}

ProgramRuns::ProgramRuns() {
  if (!m_root.isValid()) return;
  QDir root(m_root.path());
  // The runtime folder must be the user's alone, as the platform wants it.
  m_ready = root.mkpath("runtime") && root.mkpath("config") &&
            QFile::setPermissions(runtimeFolder(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString ProgramRuns::installCopy(const QString& name) {
  const QString dir = folder(name);
  const QString program = QDir(dir).filePath("quillon");
  if (!QDir().mkpath(dir) || !QFile::copy(QStringLiteral(QUILLON_PROGRAM), program)) return {};
  QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return program;
}

RunningProgram ProgramRuns::start(const QString& program) const {
  RunningProgram process(new QProcess);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", runtimeFolder());
  env.insert("XDG_CONFIG_HOME", configHome());
  process->setProcessEnvironment(env);
  process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process->start(program, {});
  process->waitForStarted(10000);
  return process;
}

bool ProgramRuns::waitForLockOf(qint64 pid, int timeoutMs) const {
  const QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    const QByteArray owner = readFile(lockPath()).split('\n').value(0);
    if (owner.toLongLong() == pid) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
}

bool waitForFileContaining(const QString& path, const QByteArray& text, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  for (;;) {
    if (readFile(path).contains(text)) return true;
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
}

bool writeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(contents) == contents.size() && file.flush();
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace quillon::test
