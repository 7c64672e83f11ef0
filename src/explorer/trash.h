// Sending a file or folder to the desktop's trash, never deleting it. Qt's
// trash move has one pitfall: without the user's data folder it reports
// success and moves the file into "files/" of the current folder. Here the
// data folder is made first, and a move that did not land in a trash is put
// back and reported as a failure. UI thread.
#pragma once

#include <QString>

namespace quillon::explorer {

struct TrashResult {
  bool moved = false;
  QString pathInTrash;  // where the item went, when moved
  QString error;        // why not, when not moved
};

TrashResult moveToTrash(const QString& path);

}  // namespace quillon::explorer
