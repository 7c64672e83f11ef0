// One play of a cart as the as-run log records it, filled in by the cart's
// owner when the play ends.
#pragma once

#include <chrono>
#include <string>

namespace quillon::asrun {

// What fired the play.
enum class StartCause { Key, Click, Midi, Osc };

// Why the play ended.
enum class EndReason {
  End,            // its file ended, with or without its own fade-out
  Stopped,        // its letter, its stop button or a remote stop
  Panic,          // Escape
  PanicFade,      // Shift+Escape
  LoopStopped,    // its loop switch turned off, the last pass played out
  Replaced,       // a file dropped on it
  DeviceChanged,  // another output device chosen
  DeviceFailed,   // the output device vanished or failed
  FileFailed,     // its file could not be read any further
  PaletteLoad,    // a palette loaded over it
  New,            // the grid emptied
  Quit,           // the program ended
};

struct PlayRecord {
  // The wall-clock start, and the local time's offset from UTC at that
  // moment (taken when the play starts, so a change of daylight saving
  // during the play does not move it to another day or file).
  std::chrono::system_clock::time_point start;
  std::chrono::seconds utcOffset{0};
  char letter = 'A';
  std::string path;                     // the file's full path, UTF-8
  std::string title;                    // the title the cart shows, UTF-8
  std::chrono::milliseconds length{0};  // the file's length
  std::chrono::milliseconds played{0};  // time actually heard, pauses excluded
  StartCause startedBy = StartCause::Key;
  EndReason endedBy = EndReason::End;
  int passes = 1;  // times through the file: more than one only for a loop
};

// The words written in the log, stable for the readers of the files.
const char* startCauseName(StartCause cause);
const char* endReasonName(EndReason reason);

}  // namespace quillon::asrun
