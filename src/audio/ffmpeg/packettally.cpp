#include "audio/ffmpeg/packettally.h"

#include <cstdint>

namespace quillon::audio {
namespace {

FrameCount readLittleEndian32(const std::uint8_t* p) {
  return static_cast<FrameCount>(
      static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
      static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

void PacketTally::add(FrameCount frames, const std::uint8_t* skipData, std::size_t skipSize) {
  FrameCount discardAtEnd = 0;
  // Layout: 32-bit start skip, 32-bit end discard, two 8-bit reasons.
  if (skipData != nullptr && skipSize >= 10) {
    // libavcodec reads the start skip into a signed int and drops negatives.
    const FrameCount skip = readLittleEndian32(skipData);
    m_skipPending = skip > INT32_MAX ? 0 : skip;
    discardAtEnd = readLittleEndian32(skipData + 4);
  }
  FrameCount kept = frames;
  if (m_skipPending > 0) {
    if (kept <= m_skipPending) {
      m_skipPending -= kept;
      return;
    }
    kept -= m_skipPending;
    m_skipPending = 0;
  }
  if (discardAtEnd > 0 && discardAtEnd <= kept) kept -= discardAtEnd;
  m_frames += kept;
}

}  // namespace quillon::audio
