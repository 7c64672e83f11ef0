#include "audio/ffmpeg/ffmpeginformation.h"

#include "audio/conversions.h"
#include "audio/ffmpeg/audiostreamdecoder.h"
#include "audio/ffmpeg/exactlength.h"
#include "audio/ffmpeg/ffmpegerrors.h"
#include "audio/ffmpeg/fileinput.h"
#include "audio/ffmpeg/lengthcache.h"

namespace quillon::audio {

FfmpegInformation::FfmpegInformation(std::shared_ptr<LengthCache> cache)
    : m_cache(std::move(cache)) {
  silenceFfmpegLog();
}

bool FfmpegInformation::OpenInfo(const std::string& path) {
  m_format = AudioFormat{};
  m_frames = 0;
  m_error.clear();
  int code = 0;
  std::string error;
  auto input = FileInput::open(path, code, error);
  if (!input) return fail(error);
  if (m_cache) {
    if (const auto known = m_cache->find(input->identity())) {
      m_format = known->format;
      m_frames = known->frames;
      return true;
    }
  }
  auto decoder = AudioStreamDecoder::open(*input, code, error);
  if (!decoder) return fail(error);
  const AudioFormat format = decoder->outputFormat();
  const auto frames = countExactFrames(*input, *decoder, error);
  if (!frames) return fail(error);
  m_format = format;
  m_frames = *frames;
  if (m_cache) m_cache->store(input->identity(), KnownLength{m_frames, m_format});
  return true;
}

std::int64_t FfmpegInformation::InfoDurationMs() const {
  return framesToMs(m_frames, m_format.sampleRate);
}

bool FfmpegInformation::fail(const std::string& error) {
  m_error = error;
  return false;
}

}  // namespace quillon::audio
