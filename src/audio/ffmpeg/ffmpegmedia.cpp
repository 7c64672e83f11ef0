#include "audio/ffmpeg/ffmpegmedia.h"

#include "audio/ffmpeg/ffmpeginformation.h"
#include "audio/ffmpeg/ffmpegreader.h"
#include "audio/ffmpeg/lengthcache.h"

namespace quillon::audio {

FfmpegMedia::FfmpegMedia() : m_cache(std::make_shared<LengthCache>()) {}

FfmpegMedia::~FfmpegMedia() = default;

std::unique_ptr<Reader> FfmpegMedia::createReader() {
  return std::make_unique<FfmpegReader>(m_cache);
}

std::unique_ptr<Information> FfmpegMedia::createInformation() {
  return std::make_unique<FfmpegInformation>(m_cache);
}

}  // namespace quillon::audio
