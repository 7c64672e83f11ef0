// One pass of demuxing and decoding over the audio stream of a file.
//
// Opening picks the file's first audio stream, tells the demuxer to drop
// every other stream (a cover picture is never decoded), and decodes the
// first frame: that proves the stream plays and gives its real rate and
// channels, which a container may not state. A stream with no rate or no
// channels is refused. The format probe is bounded to 64 KiB and the search
// for a first frame to 256 KiB, so a file of random bytes is refused after a
// bounded read.
//
// Positions are frames from the first frame the file decodes to, which is
// position 0. After seekBefore(), framePosition() tells where a frame stands,
// from its timestamp relative to the first frame's.
//
// Owned by one reader or information; UI thread.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "audio/audioformat.h"
#include "audio/ffmpeg/fileinput.h"
#include "audio/ffmpeg/packettally.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace quillon::audio {

class AudioStreamDecoder {
 public:
  enum class Step {
    Frame,   // frame() holds the next decoded frame
    End,     // no more frames
    Failed,  // see lastError()
  };

  // Nothing when the file holds no playable audio; then `code` is a negative
  // AVERROR and `error` says why. `input` must outlive the decoder.
  static std::unique_ptr<AudioStreamDecoder> open(FileInput& input, int& code, std::string& error);
  ~AudioStreamDecoder();
  AudioStreamDecoder(const AudioStreamDecoder&) = delete;
  AudioStreamDecoder& operator=(const AudioStreamDecoder&) = delete;

  // Decodes the next frame (the first call gives the frame decoded at open).
  Step next();
  // The frame the last next() gave; valid until the next call.
  const AVFrame& frame() const { return *m_frame; }

  // Demuxes the next packet of the stream without decoding it; the packet
  // counts in tally(). End at the end of the data.
  Step skipPacket();
  // Frames the packets demuxed so far decode to; exact while tallyKnown().
  const PacketTally& tally() const { return m_tally; }
  bool tallyKnown() const { return m_tallyKnown; }

  // The first decoded frame's format, made 16-bit and at most stereo.
  AudioFormat outputFormat() const { return m_outputFormat; }
  AVCodecID codecId() const { return m_codec->codec_id; }
  // FFmpeg's short name of the demuxer: "mp3", "wav", "ogg", "asf"...
  const char* containerName() const { return m_format->iformat->name; }
  const AVStream& stream() const { return *m_format->streams[m_streamIndex]; }
  // Byte offset of the stream's first packet, or -1.
  std::int64_t firstPacketPosition() const { return m_firstPacketPosition; }

  // Whether timestamps place a frame to the exact frame (see seekBefore).
  bool canSeekByTimestamp() const;
  // How far before a target seekBefore() should aim, so that the frames at
  // the target decode as in a full decode.
  FrameCount seekPreroll() const;
  // Moves the demuxer to a point at or before `position` (by the container's
  // index: not exact) and empties the decoder.
  bool seekBefore(FrameCount position);
  // Where frame() stands, from its timestamp; nothing when it has none or
  // when the timestamp is only the seek's estimate (see m_landingPacket).
  std::optional<FrameCount> framePosition() const;

  const std::string& lastError() const { return m_error; }

 private:
  explicit AudioStreamDecoder(FileInput& input);
  bool openStream(int& code);
  bool decodeFirstFrame(int& code);
  Step decode();
  // 0 with m_packet filled; AVERROR_EOF at the end of the data; another
  // negative AVERROR when reading failed.
  int readPacket();
  Step fail(int code, const std::string& what);

  struct FormatCloser {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
  };
  struct CodecFreer {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
  };
  struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
  };
  struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
  };

  FileInput& m_input;
  // Declared before m_format so that it is destroyed after it.
  IoContextPtr m_io;
  std::unique_ptr<AVFormatContext, FormatCloser> m_format;
  std::unique_ptr<AVCodecContext, CodecFreer> m_codec;
  std::unique_ptr<AVPacket, PacketFreer> m_packet;
  std::unique_ptr<AVFrame, FrameFreer> m_frame;
  int m_streamIndex = -1;
  AudioFormat m_outputFormat;
  std::int64_t m_firstPts = AV_NOPTS_VALUE;  // in the stream's time base
  // Frames per codec frame when every frame has the same length, else 0.
  FrameCount m_frameGrid = 0;
  std::int64_t m_firstPacketPosition = -1;
  // Byte position of the first packet read after a seek. The demuxer stamps
  // the packets of that container page from its own search, which can be a
  // packet off (Ogg); timestamps are exact again from the next page on.
  // kLandingUnknown until that packet is read; -1 when the demuxer gives no
  // positions (then every timestamp is taken as it is).
  static constexpr std::int64_t kLandingUnknown = -2;
  std::int64_t m_landingPacket = -1;
  bool m_firstFramePending = false;  // next() gives the frame decoded at open
  bool m_draining = false;           // the decoder was told the data ended
  int m_errorsInARow = 0;            // packets that did not decode, in a row
  PacketTally m_tally;
  bool m_tallyKnown = true;
  std::string m_error;
};

}  // namespace quillon::audio
