#include "app/programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace quillon::app {

namespace {

std::filesystem::path toPath(const QString& folder) {
  return std::filesystem::path(QDir::cleanPath(folder).toStdString());
}

QString canonicalOrAsIs(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  return canonical.isEmpty() ? folder : canonical;
}

}  // namespace

ProgramPlace currentProgramPlace() {
  const QString program = canonicalOrAsIs(QCoreApplication::applicationDirPath());
  ProgramPlace place;
  place.programFolder = toPath(program);
  place.buildFolder = toPath(canonicalOrAsIs(QStringLiteral(QUILLON_BUILD_FOLDER)));
  place.userConfigFolder =
      toPath(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
  place.configIniInProgramFolder = QFileInfo(QDir(program).filePath(kConfigIniName)).isFile();
  return place;
}

QString configIniFile(const ProgramPlace& place) {
  return QString::fromStdString(configIniPath(place).string());
}

QString findWelcomePage(const ProgramPlace& place) {
  for (const auto& candidate : welcomePageCandidates(
           place.programFolder, toPath(QStringLiteral(QUILLON_INSTALL_DATADIR)))) {
    const QString path = QString::fromStdString(candidate.string());
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace quillon::app
