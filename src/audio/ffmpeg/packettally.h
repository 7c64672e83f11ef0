// Counts the frames a decoder will deliver for a run of demuxed packets
// without decoding them: each packet's own frame count, less what the
// skip-samples side data tells the decoder to drop (an MP3's encoder delay
// and padding). Follows libavcodec's rules: a skip at the start carries over
// into the next packets while it is longer than a frame; a discard at the end
// applies only when it fits in its packet's frame. UI thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/audioformat.h"

namespace quillon::audio {

class PacketTally {
 public:
  // `frames`: the frames the packet decodes to before any skip; `skipData`:
  // its AV_PKT_DATA_SKIP_SAMPLES side data, or null.
  void add(FrameCount frames, const std::uint8_t* skipData, std::size_t skipSize);

  FrameCount frames() const { return m_frames; }

 private:
  FrameCount m_frames = 0;
  FrameCount m_skipPending = 0;  // start skip not yet taken out of a frame
};

}  // namespace quillon::audio
