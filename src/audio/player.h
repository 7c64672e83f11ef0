// The player: plays queued blocks on an output device and reports progress.
// A cart's `AudioPlayer`, and the window's `AudioPlayerMain`. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audioformat.h"
#include "audio/conversions.h"
#include "audio/playerevents.h"

namespace quillon::audio {

class Player {
 public:
  virtual ~Player() = default;

  // Where the events go; null silences them.
  virtual void setEventHandler(PlayerEvents* handler) = 0;

  // The format of the blocks to come. False for a format no output can play.
  virtual bool SetFormat(const AudioFormat& format) = 0;
  // Opens the output on the selected device; the result is OutputStatus().
  // PlayedSamples counts from 0 again.
  virtual int OpenOutput() = 0;
  // 0 when the output is open; negative when there is none.
  virtual int OutputStatus() const = 0;
  // Queues a block after the blocks already queued. False when there is no
  // open output or the block does not match the format.
  virtual bool QueueBlock(AudioBlock block) = 0;
  // The file has no more blocks: once the queue has played out, EndPlay.
  // A queue that runs dry before this mark is an underrun, not an end.
  virtual void MarkEndOfFile() = 0;
  // Drops the queue and the end mark; PlayedSamples restarts at 0; the
  // output stays open.
  virtual void ResetOutput() = 0;
  // Silence at once; the next OpenOutput counts from 0 again.
  virtual void CloseOutput() = 0;

  // Frames of the file that the device has consumed since OpenOutput or
  // ResetOutput.
  virtual FrameCount PlayedSamples() const = 0;
  // The last `count` frames sent to the output, channels averaged, after gain;
  // zeros where nothing was sent yet.
  virtual std::vector<std::int16_t> RecentSamples(int count) const = 0;
  // Times the queue ran dry before the end mark since OpenOutput.
  virtual std::int64_t UnderrunCount() const = 0;

  // Devices, numbered from 0.
  virtual int DeviceCount() const = 0;
  virtual void SelectDevice(int device) = 0;
  virtual int CurrentDevice() const = 0;
  // Name and usability of the selected device; "" and false when none.
  virtual std::string DeviceName() const = 0;
  virtual bool DeviceUsable() const = 0;
  // Whether the selected device was there at the last reading of the list
  // (a device that failed may still be there; one that went is not).
  virtual bool DevicePresent() const = 0;
  // Reads the device list again.
  virtual void RescanDevices() = 0;

  // Why the last operation failed, for a person to read.
  virtual std::string lastError() const = 0;

  // Conversions for the format given to SetFormat.
  FrameCount MsToSamples(std::int64_t ms) const { return msToFrames(ms, m_format.sampleRate); }
  std::int64_t SamplesToMs(FrameCount frames) const {
    return framesToMs(frames, m_format.sampleRate);
  }

 protected:
  AudioFormat m_format;
};

}  // namespace quillon::audio
