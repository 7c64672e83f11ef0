#include "e2e/sandbox.h"

#include <QDir>
#include <QFile>

namespace quillon::test {

namespace {

constexpr QFile::Permissions kOwnerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Notes its arguments and succeeds, as a desktop that opened the page would.
constexpr const char* kOpenerScript =
    "#!/bin/sh\n"
    "printf '%s\\n' \"$*\" >> \"$(dirname \"$0\")/../opened.txt\"\n"
    "exit 0\n";

}  // namespace

Sandbox::Sandbox() {
  if (!m_root.isValid()) return;
  QDir root(m_root.path());
  const QString program = path("program/quillon");
  m_ready = root.mkpath("program") && root.mkpath("home") && root.mkpath("runtime") &&
            root.mkpath("config") && root.mkpath("bin") &&
            QFile::setPermissions(path("runtime"), kOwnerAll) &&
            QFile::copy(QStringLiteral(QUILLON_PROGRAM), program) &&
            QFile::setPermissions(program, kOwnerAll) &&
            QFile::copy(QStringLiteral(QUILLON_WELCOME_PAGE), path("program/welcome.html")) &&
            writeWholeFile(path("bin/xdg-open"), kOpenerScript) &&
            QFile::setPermissions(path("bin/xdg-open"), kOwnerAll);
}

Sandbox::~Sandbox() { killProgram(); }

QProcessEnvironment Sandbox::environment(const QString& display, const QString& jackServer) const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", display);
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("HOME", path("home"));
  env.insert("XDG_RUNTIME_DIR", path("runtime"));
  env.insert("XDG_CONFIG_HOME", path("config"));
  env.insert("XDG_DATA_HOME", path("home/.local/share"));
  env.insert("JACK_DEFAULT_SERVER", jackServer);
  env.insert("JACK_NO_AUDIO_RESERVATION", "1");
  env.insert("PATH", path("bin") + ":" + env.value("PATH", "/usr/bin:/bin"));
  // Only the stand-in opener may answer: no browser named by the machine.
  for (const char* name : {"BROWSER", "DEFAULT_BROWSER", "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                           "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                           "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY", "QT_QPA_PLATFORMTHEME"}) {
    env.remove(name);
  }
  return env;
}

bool Sandbox::startProgram(const QString& display, const QString& jackServer,
                           const QString& logFolder, const QString& instance) {
  killProgram();
  QDir().mkpath(logFolder);
  m_program = std::make_unique<QProcess>();
  m_program->setProcessEnvironment(environment(display, jackServer));
  m_program->setWorkingDirectory(path("home"));
  m_program->setStandardOutputFile(QDir(logFolder).filePath(instance + ".out.log"));
  m_program->setStandardErrorFile(QDir(logFolder).filePath(instance + ".err.log"));
  m_program->start(path("program/quillon"), {});
  return m_program->waitForStarted(10000);
}

int Sandbox::runSecondInstance(const QString& display, const QString& jackServer, int boundMs) {
  QProcess second;
  second.setProcessEnvironment(environment(display, jackServer));
  second.setWorkingDirectory(path("home"));
  second.setStandardOutputFile(QProcess::nullDevice());
  second.setStandardErrorFile(QProcess::nullDevice());
  second.start(path("program/quillon"), {});
  if (!second.waitForStarted(10000)) return -1;
  if (!second.waitForFinished(boundMs)) {
    second.kill();
    second.waitForFinished(10000);
    return -1;
  }
  return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

bool Sandbox::programRunning() const {
  return m_program && m_program->state() != QProcess::NotRunning;
}

bool Sandbox::waitForExit(int boundMs) {
  if (!programRunning()) return true;
  return m_program->waitForFinished(boundMs);
}

void Sandbox::killProgram() {
  if (!programRunning()) return;
  m_program->kill();
  m_program->waitForFinished(10000);
}

bool writeWholeFile(const QString& path, const QByteArray& contents) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         file.write(contents) == contents.size() && file.flush();
}

QByteArray readWholeFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace quillon::test
