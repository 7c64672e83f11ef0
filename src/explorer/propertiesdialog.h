// The explorer's "properties" sheet: a small window with the item's path,
// size and type, and for an audio file its length and sample rate as the
// engine's information reads them. Modeless, one per request. UI thread.
#pragma once

#include <QDialog>
#include <QString>

namespace quillon::audio {
class Information;
}

namespace quillon::explorer {

struct FileProperties {
  QString path;
  QString type;
  qint64 sizeBytes = -1;   // -1: not a file (a folder) or unreadable
  int folderEntries = -1;  // for a folder: what it holds
  bool isFolder = false;
  bool analysed = false;  // the information read the file
  qint64 durationMs = -1;
  int sampleRate = 0;
  QString problem;  // why the file could not be analysed
};

// What the sheet shows for `path`. `information` may be null (no engine):
// length and rate are then unknown.
FileProperties readFileProperties(const QString& path, audio::Information* information);

class PropertiesDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PropertiesDialog(const FileProperties& properties, QWidget* parent = nullptr);

  // The text shown for "Path", "Size", "Type", "Length" or "Sample rate".
  QString value(const QString& field) const;
};

}  // namespace quillon::explorer
