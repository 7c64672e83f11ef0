// The reader: decodes an audio file into blocks at the file's own rate.
// A cart's `AudioFile`. UI thread.
#pragma once

#include <optional>
#include <string>

#include "audio/audioformat.h"

namespace quillon::audio {

enum class ReadResult {
  Data,    // the block holds at least one frame
  End,     // no more frames: the block is empty
  Failed,  // the file could not be read (see lastError); the block is empty
  Late,    // not decoded yet: the block is empty, nothing was consumed; the
           // reader tells its events handler when data has arrived
};

// FileStatus of a file still being opened by a reader that reads on another
// thread: the answer comes through ReaderEvents::ReaderAnswered.
constexpr int kFileOpening = 1;

// What a reader that reads on another thread tells its owner. Every call
// arrives on the UI thread from the event loop, never from inside one of the
// reader's own operations. Readers that answer at once never call it.
class ReaderEvents {
 public:
  virtual ~ReaderEvents() = default;
  // A pending open has its answer (FileStatus), or data has arrived after a
  // Late read.
  virtual void ReaderAnswered() = 0;
  // The file did not answer within the reader's bound: the reader has given
  // it up (FileStatus is negative, lastError says why).
  virtual void ReaderStalled() = 0;
};

class Reader {
 public:
  virtual ~Reader() = default;

  // Where the events go; null silences them.
  virtual void setEventHandler(ReaderEvents* /*handler*/) {}

  // Opens a file for reading; the result is FileStatus() (kFileOpening while
  // the answer is on its way).
  virtual int OpenFile(const std::string& path) = 0;
  // 0 when a file is open and playable; negative when it cannot be played.
  virtual int FileStatus() const = 0;
  // Exact number of frames ReadBlock will deliver from position 0.
  virtual FrameCount TotalSamples() const = 0;
  virtual AudioFormat StreamFormat() const = 0;
  // Reads up to `frames` frames from the read position into `block`
  // (16-bit interleaved, StreamFormat's rate and channels) and advances.
  virtual ReadResult ReadBlock(FrameCount frames, AudioBlock& block) = 0;
  // The next ReadBlock starts exactly at `frame`; gives the frame reached,
  // or nothing when the seek failed. A reader that reads on another thread
  // answers at once with the frame it will reach, and a failure comes with
  // the next ReadBlock.
  virtual std::optional<FrameCount> SeekSample(FrameCount frame) = 0;
  virtual void CloseFile() = 0;

  // Why the last operation failed, for a person to read.
  virtual std::string lastError() const = 0;
};

}  // namespace quillon::audio
