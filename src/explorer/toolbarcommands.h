// The explorer toolbar's eleven buttons and what a click on each asks of the
// file list, as plain rules: the button table, the view-style group (buttons
// 4 to 8, one down at a time) and the click dispatch. No Qt. UI thread.
#pragma once

#include <array>
#include <string>

namespace quillon::explorer {

enum class ButtonKind { Push, Group, Spacer };

struct ToolbarButton {
  int index;    // 1 to 11, the toolbar's own numbering
  int picture;  // 1 to 9 in ImageList1, 0 for none
  ButtonKind kind;
  const char* toolTip;
};

// The pictures of ImageList1, numbered from 1.
enum Picture : int {
  kPictureProperties = 1,
  kPictureNewFolder,
  kPictureFolderUp,
  kPictureList,
  kPictureLargeIcons,
  kPictureSmallIcons,
  kPictureDetails,
  kPictureThumbnails,
  kPictureDelete,
  kPictureCount = kPictureDelete
};

inline constexpr std::array<ToolbarButton, 11> kToolbarButtons{{
    {1, kPictureFolderUp, ButtonKind::Push, "Up one folder"},
    {2, kPictureNewFolder, ButtonKind::Push, "New folder"},
    {3, 0, ButtonKind::Spacer, ""},
    {4, kPictureLargeIcons, ButtonKind::Group, "Large icons"},
    {5, kPictureSmallIcons, ButtonKind::Group, "Small icons"},
    {6, kPictureList, ButtonKind::Group, "List"},
    {7, kPictureDetails, ButtonKind::Group, "Details"},
    {8, kPictureThumbnails, ButtonKind::Group, "Thumbnails"},
    {9, 0, ButtonKind::Spacer, ""},
    {10, kPictureProperties, ButtonKind::Push, "Properties"},
    {11, kPictureDelete, ButtonKind::Push, "Delete (to the trash)"},
}};

// The list's view styles, numbered as the list numbers them.
enum ViewStyle : int { kViewIcon = 0, kViewSmallIcon = 1, kViewList = 2, kViewReport = 3 };

// The texts the toolbar passes to the list.
inline constexpr const char* kNewFolderName = "New Folder";
inline constexpr const char* kVerbProperties = "properties";
inline constexpr const char* kVerbDelete = "delete";

// What the toolbar asks of the file list. A false result is a refusal
// (nothing selected, no permission, nowhere to go): the click ends there.
class FileListCommands {
 public:
  virtual ~FileListCommands() = default;
  virtual bool moveUp() = 0;
  // `flag` is the list's option for the new folder: true selects it.
  virtual bool createNewFolder(const std::string& name, bool flag) = 0;
  virtual void setViewStyle(int style) = 0;
  virtual void setThumbnails(bool on) = 0;
  // A shell command on the selected item: "properties" or "delete".
  virtual bool invokeCommand(const std::string& verb) = 0;
};

// Buttons 4 to 8: one down at a time, button 6 (list) at start, matching the
// list's initial view style.
class ViewButtonGroup {
 public:
  static constexpr int kFirst = 4;
  static constexpr int kLast = 8;
  static constexpr int kDownAtStart = 6;

  static bool isMember(int index) { return index >= kFirst && index <= kLast; }
  // A press on a group button puts it down and the others up; a press on any
  // other button changes nothing. True when `index` is a group member.
  bool press(int index);
  int down() const { return m_down; }

 private:
  int m_down = kDownAtStart;
};

// A click on the toolbar button `index`: the group takes the press, then the
// command of that button runs. True when a command ran and the list accepted
// it; false for a spacer, an unknown index or a refusal.
bool Toolbar1_ButtonClick(int index, FileListCommands& list, ViewButtonGroup& group);

}  // namespace quillon::explorer
