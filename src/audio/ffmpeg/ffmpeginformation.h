// The information on FFmpeg: a file's rate and exact length, the same length
// the reader delivers, found without playing it (see exactlength.h for the
// cost per format). A length counted once for a version of a file is kept in
// the shared cache, so the reader does not count it again at a start.
//
// A cart's `AudioInformation`. Owned by the cart; UI thread.
#pragma once

#include <memory>

#include "audio/information.h"

namespace quillon::audio {

class LengthCache;

class FfmpegInformation final : public Information {
 public:
  // `cache` (may be null) gives lengths already counted and keeps new ones.
  explicit FfmpegInformation(std::shared_ptr<LengthCache> cache);

  bool OpenInfo(const std::string& path) override;                     // UI thread
  int InfoSampleRate() const override { return m_format.sampleRate; }  // UI thread
  FrameCount InfoTotalSamples() const override { return m_frames; }    // UI thread
  std::int64_t InfoDurationMs() const override;                        // UI thread
  std::string lastError() const override { return m_error; }           // UI thread

 private:
  bool fail(const std::string& error);

  std::shared_ptr<LengthCache> m_cache;
  AudioFormat m_format;
  FrameCount m_frames = 0;
  std::string m_error;
};

}  // namespace quillon::audio
