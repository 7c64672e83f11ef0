// The explorer's pictures, drawn here: the nine 16 x 16 toolbar pictures of
// ImageList1 and the list's item pictures (folder, parent folder, audio file,
// and the audio file's larger thumbnail). UI thread (QPixmap).
#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace quillon::explorer {

// The studio colours the panel's pictures and theme share.
struct StudioColours {
  static QColor panel() { return {0x1f, 0x22, 0x27}; }
  static QColor base() { return {0x16, 0x18, 0x1c}; }
  static QColor alternate() { return {0x1b, 0x1e, 0x23}; }
  static QColor line() { return {0x3a, 0x40, 0x48}; }
  static QColor text() { return {0xe4, 0xe7, 0xeb}; }
  static QColor dimText() { return {0x9a, 0xa0, 0xa6}; }
  static QColor accent() { return {0x3d, 0x9b, 0xff}; }
  static QColor folder() { return {0xe8, 0xb0, 0x4b}; }
  static QColor go() { return {0x4c, 0xd9, 0x64}; }
  static QColor danger() { return {0xff, 0x5f, 0x57}; }
};

// Picture `picture` (1 to 9, see Picture in toolbarcommands.h) of ImageList1,
// 16 x 16 logical pixels drawn at `devicePixelRatio`. An unknown number gives
// an empty picture.
QPixmap drawToolbarPicture(int picture, qreal devicePixelRatio = 2.0);

// Item pictures for the list's picture sizes (16, 32, and 64 for thumbnails),
// drawn anew at each call: the caller keeps them. An audio file's thumbnail is
// a picture of its own, labelled with its type (`extension`, "MP3").
QIcon drawFolderIcon();
QIcon drawParentFolderIcon();
QIcon drawAudioFileIcon();
QIcon drawAudioThumbnail(const QString& extension);

}  // namespace quillon::explorer
