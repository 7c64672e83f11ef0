// The About window's links (its modality and OK are driven from the main
// window's tests) and how the desktop is handed a document.
#include <gtest/gtest.h>

#include <QLabel>

#include "about/form1.h"
#include "about/shell.h"

namespace quillon::about {
namespace {

struct RecordingShell : Shell {
  QStringList opened;
  bool ShellOpen(const QString& document, const QString&, const QString&) override {
    opened << document;
    return true;
  }
};

TEST(AboutWindow, LinksOpenTheWebSiteAndAMailWithTheSubject) {
  RecordingShell shell;
  Form1 form(shell);
  form.openWebSite();
  form.openMail();
  ASSERT_EQ(shell.opened.size(), 2);
  EXPECT_EQ(shell.opened[0], "https://quillon.studio");
  EXPECT_EQ(shell.opened[1], "mailto: support@quillon.studio?subject=About Quillon");
  // The captions are the addresses.
  EXPECT_EQ(form.findChild<QLabel*>("Label4")->text(), "https://quillon.studio");
  EXPECT_EQ(form.findChild<QLabel*>("Label3")->text(), "support@quillon.studio");
}

TEST(ShellDocuments, AddressesKeepTheirSchemeAndPathsBecomeFiles) {
  EXPECT_EQ(documentUrl("https://quillon.studio").scheme(), "https");
  EXPECT_EQ(documentUrl("mailto: a@b.c?subject=x").scheme(), "mailto");
  const QUrl file = documentUrl("/usr/share/doc/quillon/welcome.html");
  EXPECT_TRUE(file.isLocalFile());
  EXPECT_EQ(file.toLocalFile(), "/usr/share/doc/quillon/welcome.html");
  EXPECT_TRUE(documentUrl("C:\\Jingles\\a.pal").isLocalFile());
}

}  // namespace
}  // namespace quillon::about
