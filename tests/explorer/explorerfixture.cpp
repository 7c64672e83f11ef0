#include "explorerfixture.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "explorer/explorermodel.h"

namespace quillon::explorer {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

void ExplorerFixture::SetUp() {
  const QString base = qEnvironmentVariable("QUILLON_TEST_TMP", QDir::tempPath());
  QDir().mkpath(base);
  m_home = std::make_unique<QTemporaryDir>(base + "/explorer-home-XXXXXX");
  ASSERT_TRUE(m_home->isValid());
  m_oldHome = qgetenv("HOME");
  m_oldDataHome = qgetenv("XDG_DATA_HOME");
  m_oldConfigHome = qgetenv("XDG_CONFIG_HOME");
  qputenv("HOME", home().toUtf8());
  // Not made here: the panel must cope with a data folder that does not exist.
  qputenv("XDG_DATA_HOME", (home() + "/.local/share").toUtf8());
  qputenv("XDG_CONFIG_HOME", (home() + "/.config").toUtf8());

  ASSERT_TRUE(QDir().mkpath(music() + "/Jingles"));
  ASSERT_TRUE(QDir().mkpath(music() + "/Beds.MP3"));  // a folder, whatever its name
  for (const char* name : {"intro.mp3", "BED.WAV", "sting.Ogg", "promo.WMA", "notes.txt",
                           "cover.jpg", "bassmp3", "mix.mp3.txt"}) {
    writeFile(inMusic(QString::fromLatin1(name)));
  }
  writeFile(music() + "/Jingles/top.mp3");
}

void ExplorerFixture::TearDown() {
  qputenv("HOME", m_oldHome);
  qputenv("XDG_DATA_HOME", m_oldDataHome);
  qputenv("XDG_CONFIG_HOME", m_oldConfigHome);
}

void ExplorerFixture::writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

std::unique_ptr<Explorer> ExplorerFixture::makeExplorer(const QString& startFolder) {
  auto explorer = std::make_unique<Explorer>(
      nullptr, [this] { return m_media.createInformation(); },
      startFolder.isEmpty() ? music() : startFolder);
  explorer->setPrompts({
      [this](QWidget*, const QString& path) {
        m_confirmations << path;
        return m_confirm;
      },
      [this](QWidget*, const QString& message) { m_warnings << message; },
  });
  // Connected before the event loop runs, so the first folder's load is seen.
  QObject::connect(explorer->model(), &QFileSystemModel::directoryLoaded, explorer.get(),
                   [this](const QString& path) { m_loadedFolders << path; });
  return explorer;
}

QStringList ExplorerFixture::listedNames(const Explorer& explorer) {
  const ExplorerModel& model = *explorer.model();
  const QModelIndex root = explorer.List_File()->rootIndex();
  QStringList names;
  for (int row = 0; row < model.rowCount(root); ++row)
    names << model.index(row, 0, root).data().toString();
  return names;
}

bool ExplorerFixture::waitForFolder(Explorer& explorer, const QString& folder) {
  return waitUntil(
      [&] { return explorer.currentFolder() == folder && m_loadedFolders.contains(folder); });
}

bool ExplorerFixture::select(Explorer& explorer, const QString& name) {
  const QString path = explorer.currentFolder() + "/" + name;
  return waitUntil([&] { return listedNames(explorer).contains(name); }) &&
         explorer.selectPath(path) && explorer.selectedPath() == path;
}

}  // namespace quillon::explorer
