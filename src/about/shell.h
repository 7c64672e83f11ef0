// Hands a web address, a mail address or a file to the desktop, which opens
// it with the user's default program. Behind an interface so tests never
// start a browser and can see what was asked. UI thread.
#pragma once

#include <QString>
#include <QUrl>

namespace quillon::about {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens `document`; `folder` and the third argument are accepted for the
  // callers' form and not used. True when the desktop took the request.
  virtual bool ShellOpen(const QString& document, const QString& folder = {},
                         const QString& unused = {}) = 0;
};

// What ShellOpen hands to the desktop for a document: addresses with a
// scheme as they are, anything else as a local file.
QUrl documentUrl(const QString& document);

// The desktop's own opener.
class DesktopShell : public Shell {
 public:
  bool ShellOpen(const QString& document, const QString& folder = {},
                 const QString& unused = {}) override;
};

}  // namespace quillon::about
