#include "about/shell.h"

#include <QDesktopServices>
#include <QRegularExpression>

namespace quillon::about {

QUrl documentUrl(const QString& document) {
  static const QRegularExpression scheme("^[A-Za-z][A-Za-z0-9+.-]+:");
  // "C:" is a drive, not a scheme: a scheme has two letters at least.
  if (scheme.match(document).hasMatch()) return QUrl(document, QUrl::TolerantMode);
  return QUrl::fromLocalFile(document);
}

bool DesktopShell::ShellOpen(const QString& document, const QString& /*folder*/,
                             const QString& /*unused*/) {
  return QDesktopServices::openUrl(documentUrl(document));
}

}  // namespace quillon::about
