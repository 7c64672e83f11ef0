#include "explorer/toolbarcommands.h"

namespace quillon::explorer {

bool ViewButtonGroup::press(int index) {
  if (!isMember(index)) return false;
  m_down = index;
  return true;
}

bool Toolbar1_ButtonClick(int index, FileListCommands& list, ViewButtonGroup& group) {
  group.press(index);
  switch (index) {
    case 1:
      return list.moveUp();
    case 2:
      return list.createNewFolder(kNewFolderName, true);
    case 4:
      // Thumbnails off first: large icons must show icons, not thumbnails.
      list.setThumbnails(false);
      list.setViewStyle(kViewIcon);
      return true;
    case 5:
      list.setViewStyle(kViewSmallIcon);
      return true;
    case 6:
      list.setViewStyle(kViewList);
      return true;
    case 7:
      list.setViewStyle(kViewReport);
      return true;
    case 8:
      list.setThumbnails(true);  // the view style stays
      return true;
    case 10:
      return list.invokeCommand(kVerbProperties);
    case 11:
      return list.invokeCommand(kVerbDelete);
    default:
      return false;  // spacers 3 and 9, or no such button
  }
}

}  // namespace quillon::explorer
