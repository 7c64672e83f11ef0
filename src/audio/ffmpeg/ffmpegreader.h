// The reader on FFmpeg: MP3, WAV, WMA and Ogg Vorbis (and whatever else
// FFmpeg decodes) as 16-bit interleaved blocks at the file's own rate, mono
// or stereo (more channels are mixed down to stereo).
//
// TotalSamples is exact: the frames ReadBlock delivers from position 0, never
// more. SeekSample is sample-accurate: the demuxer seeks a preroll before
// the target (200 ms; 32 frames for MP3, whose frames borrow data from the
// frames before them; further back if it lands late), the first decoded
// frame with a trustworthy timestamp gives its position, and decoded frames
// are counted and dropped up to the target. Where timestamps cannot place a
// frame exactly, or the target lies within the preroll, the reader decodes
// again from the start instead.
//
// A cart's `AudioFile`. Owned by the cart; UI thread.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/ffmpeg/sampleconverter.h"
#include "audio/reader.h"

namespace quillon::audio {

class AudioStreamDecoder;
class FileInput;
class LengthCache;

class FfmpegReader final : public Reader {
 public:
  // `cache` (may be null) gives lengths already counted and keeps new ones.
  explicit FfmpegReader(std::shared_ptr<LengthCache> cache);
  ~FfmpegReader() override;

  int OpenFile(const std::string& path) override;                       // UI thread
  int FileStatus() const override { return m_status; }                  // UI thread
  FrameCount TotalSamples() const override { return m_total; }          // UI thread
  AudioFormat StreamFormat() const override { return m_format; }        // UI thread
  ReadResult ReadBlock(FrameCount frames, AudioBlock& block) override;  // UI thread
  std::optional<FrameCount> SeekSample(FrameCount frame) override;      // UI thread
  void CloseFile() override;                                            // UI thread
  std::string lastError() const override { return m_error; }            // UI thread

  // Bytes read from the file since OpenFile (up to the refusal when it
  // refused the file), for measurements.
  std::int64_t bytesRead() const;  // UI thread

 private:
  int failOpen(int code, const std::string& error, const FileInput* input);
  // Decodes the next frame onto `out`; false at the end of the data or when
  // decoding failed (m_decoderEnded, m_decoderFailed).
  bool decodeInto(std::vector<std::int16_t>& out);
  // Converts the decoder's frame onto `out`, dropping m_skip frames first.
  bool takeFrame(std::vector<std::int16_t>& out);
  bool seekByTimestamp(FrameCount target);
  bool restartFromBeginning();

  std::shared_ptr<LengthCache> m_cache;
  std::unique_ptr<FileInput> m_input;
  std::unique_ptr<AudioStreamDecoder> m_decoder;  // reads through m_input
  SampleConverter m_converter;
  int m_status;
  AudioFormat m_format;
  FrameCount m_total = 0;
  FrameCount m_position = 0;  // frame of the next sample handed out
  FrameCount m_skip = 0;      // decoded frames still to drop to reach m_position
  // Decoded from m_position on, not yet handed out, from m_pendingStart.
  std::vector<std::int16_t> m_pending;
  std::size_t m_pendingStart = 0;
  bool m_decoderEnded = false;
  bool m_decoderFailed = false;
  std::int64_t m_bytesReadByRefusal = 0;
  std::string m_error;
};

}  // namespace quillon::audio
