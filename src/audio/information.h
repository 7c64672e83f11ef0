// The information: length and rate of a file without playing it.
// A cart's `AudioInformation`. UI thread.
#pragma once

#include <cstdint>
#include <string>

#include "audio/audioformat.h"

namespace quillon::audio {

class Information {
 public:
  virtual ~Information() = default;

  // False when the file cannot be analysed (missing, unreadable, no audio
  // stream, no rate or no channels); the values below are then 0.
  virtual bool OpenInfo(const std::string& path) = 0;
  virtual int InfoSampleRate() const = 0;
  // Exact: the frames the reader delivers for the same file.
  virtual FrameCount InfoTotalSamples() const = 0;
  virtual std::int64_t InfoDurationMs() const = 0;

  virtual std::string lastError() const = 0;
};

}  // namespace quillon::audio
