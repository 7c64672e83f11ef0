// Converts a file's blocks to the device's format: its rate (libswresample's
// windowed-sinc resampler) and stereo. Used by one thread at a time (its
// conversion lane's lock).
//
// Resampling happens as blocks are queued, rather than in the device callback: the library's filter
// is far better than anything cheap enough to run per voice in the callback, it may allocate, and
// the callback then only adds samples. The resampler's output is aligned with its input (device
// frame k is file time k / deviceRate); it holds back a few frames of look-ahead, which flush()
// releases at the end of the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "audio/audioformat.h"

struct SwrContext;

namespace quillon::audio {

class RateConverter {
 public:
  RateConverter() = default;
  ~RateConverter();
  RateConverter(const RateConverter&) = delete;
  RateConverter& operator=(const RateConverter&) = delete;

  // False (with `error` set) when the conversion cannot be set up.
  bool configure(const AudioFormat& in, int deviceRate, std::string& error);
  // Appends the stereo device frames for `frames` input frames to `out`.
  bool convert(const std::int16_t* samples, FrameCount frames, std::vector<std::int16_t>& out,
               std::string& error);
  // Appends the frames still held back.
  bool flush(std::vector<std::int16_t>& out, std::string& error);
  // Forgets everything held: the next block starts a new stream.
  bool reset(std::string& error);

  bool resampling() const { return m_context != nullptr; }

 private:
  bool run(const std::uint8_t** in, int frames, std::vector<std::int16_t>& out, std::string& error);
  void toStereo(const std::int16_t* samples, std::size_t frames,
                std::vector<std::int16_t>& out) const;

  AudioFormat m_in;
  int m_deviceRate = 0;
  SwrContext* m_context = nullptr;
  std::vector<std::int16_t> m_scratch;
};

}  // namespace quillon::audio
