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
};

class Reader {
 public:
  virtual ~Reader() = default;

  // Opens a file for reading; the result is FileStatus().
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
  // or nothing when the seek failed.
  virtual std::optional<FrameCount> SeekSample(FrameCount frame) = 0;
  virtual void CloseFile() = 0;

  // Why the last operation failed, for a person to read.
  virtual std::string lastError() const = 0;
};

}  // namespace quillon::audio
