// The information: length and rate of a file without playing it.
// A cart's `AudioInformation`. UI thread.
#pragma once

#include <cstdint>
#include <string>

#include "audio/audioformat.h"

namespace quillon::audio {

// What an information that reads on another thread tells its owner, on the
// UI thread from the event loop. Informations that answer at once never call it.
class InformationEvents {
 public:
  virtual ~InformationEvents() = default;
  // A pending OpenInfo has its answer: `ok` as OpenInfo would have returned.
  virtual void InformationAnswered(bool ok) = 0;
};

class Information {
 public:
  virtual ~Information() = default;

  // Where the events go; null silences them.
  virtual void setEventHandler(InformationEvents* /*handler*/) {}

  // False when the file cannot be analysed (missing, unreadable, no audio
  // stream, no rate or no channels); the values below are then 0. True with
  // InfoPending() when the answer is on its way (the values are 0 until it
  // comes).
  virtual bool OpenInfo(const std::string& path) = 0;
  virtual bool InfoPending() const { return false; }
  virtual int InfoSampleRate() const = 0;
  // Exact: the frames the reader delivers for the same file.
  virtual FrameCount InfoTotalSamples() const = 0;
  virtual std::int64_t InfoDurationMs() const = 0;

  virtual std::string lastError() const = 0;
};

}  // namespace quillon::audio
