// Makes the FFmpeg readers and informations the engine gives each cart; they
// share one length cache, so a length counted when a file is bound is not
// counted again when the cart starts. The engine keeps one for the program's
// life. Any thread.
#pragma once

#include <memory>

#include "audio/information.h"
#include "audio/reader.h"

namespace quillon::audio {

class LengthCache;

class FfmpegMedia {
 public:
  FfmpegMedia();
  ~FfmpegMedia();

  std::unique_ptr<Reader> createReader();            // any thread
  std::unique_ptr<Information> createInformation();  // any thread
  LengthCache& lengthCache() { return *m_cache; }

 private:
  std::shared_ptr<LengthCache> m_cache;
};

}  // namespace quillon::audio
