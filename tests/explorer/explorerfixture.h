// A temporary home for the explorer's tests: HOME and XDG_DATA_HOME point
// into a fresh folder before anything reads them, so nothing touches the real
// home or trash. Music holds a few files of every kind the filter decides on.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "explorer/explorer.h"
#include "support/fakemedia.h"

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace quillon::explorer {

// Polls the event loop until `done` or `timeoutMs` has passed: Qt's model reads
// folders on its own thread.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

class ExplorerFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QString home() const { return m_home->path(); }
  QString music() const { return home() + "/Music"; }
  QString inMusic(const QString& name) const { return music() + "/" + name; }
  static void writeFile(const QString& path, const QByteArray& bytes = "data");

  // A panel on `startFolder` (default: the Music folder), its prompts answered
  // by the fixture.
  std::unique_ptr<Explorer> makeExplorer(const QString& startFolder = QString());
  // The names the list shows, in its order, once the folder shown is loaded.
  static QStringList listedNames(const Explorer& explorer);
  // Waits until the panel shows `folder` and the model has loaded it.
  bool waitForFolder(Explorer& explorer, const QString& folder);
  // Waits until the list shows `name`, then selects it.
  static bool select(Explorer& explorer, const QString& name);

  test::FakeMedia m_media;
  bool m_confirm = true;
  QStringList m_confirmations;  // paths asked about
  QStringList m_warnings;
  QStringList m_loadedFolders;  // as the model reported them

 private:
  std::unique_ptr<QTemporaryDir> m_home;
  QByteArray m_oldHome;
  QByteArray m_oldDataHome;
  QByteArray m_oldConfigHome;
};

}  // namespace quillon::explorer
