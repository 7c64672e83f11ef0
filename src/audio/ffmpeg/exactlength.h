// The exact number of frames a file decodes to, found the cheapest exact way
// for its format (containers' own durations are estimates for MP3 and WMA):
// - PCM in WAV: the header's length, bounded by the bytes the file holds;
// - Vorbis in Ogg: the container's length, from the last page's position;
// - MPEG audio in an MP3 file: every demuxed packet's frames, less the encoder
//   delay and padding the demuxer marks, without decoding;
// - anything else (WMA): decoding the whole stream.
// UI thread.
#pragma once

#include <optional>
#include <string>

#include "audio/audioformat.h"

namespace quillon::audio {

class AudioStreamDecoder;
class FileInput;

// `decoder` must be fresh from AudioStreamDecoder::open over `input`; it is
// used up. Nothing, with `error`, when the file cannot be read to its end.
std::optional<FrameCount> countExactFrames(FileInput& input, AudioStreamDecoder& decoder,
                                           std::string& error);

}  // namespace quillon::audio
