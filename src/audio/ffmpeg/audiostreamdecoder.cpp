#include "audio/ffmpeg/audiostreamdecoder.h"

#include <algorithm>

#include "audio/ffmpeg/ffmpegerrors.h"
#include "audio/ffmpeg/sampleconverter.h"

namespace quillon::audio {
namespace {

// Enough for the format probe to recognise any of the four types, and small
// enough that a large file of random bytes is refused after reading ~100 KiB.
constexpr const char* kProbeBytes = "65536";
constexpr std::int64_t kCodecProbeBytes = 4096;
// Bounds of opening: time for the probe, the header and the first frame, and
// the bytes read after the header (tags included) while looking for a frame.
constexpr std::chrono::milliseconds kOpenTimeout{3000};
constexpr std::int64_t kFirstFrameByteBudget = 256 * 1024;
// Packets in a row that do not decode before the stream counts as broken.
constexpr int kMaxErrorsInARow = 64;
// Decoding from a seek point matches a full decode once the decoder's state
// has filled again: 200 ms covers codecs that overlap frames (WMA, Vorbis).
constexpr std::int64_t kPrerollMs = 200;
// An MP3 frame may take its data from up to 511 bytes back (255 for the lower
// rates); at the lowest bit rate the standard allows that spans 24 frames,
// plus the frame that overlaps with the next one.
constexpr FrameCount kMpegPrerollFrames = 32;

}  // namespace

AudioStreamDecoder::AudioStreamDecoder(FileInput& input) : m_input(input) {}

AudioStreamDecoder::~AudioStreamDecoder() = default;

std::unique_ptr<AudioStreamDecoder> AudioStreamDecoder::open(FileInput& input, int& code,
                                                             std::string& error) {
  silenceFfmpegLog();
  std::unique_ptr<AudioStreamDecoder> decoder(new AudioStreamDecoder(input));
  input.setLimits(kOpenTimeout);
  if (!decoder->openStream(code) || !decoder->decodeFirstFrame(code)) {
    error = decoder->m_error;
    return nullptr;
  }
  code = 0;
  return decoder;
}

bool AudioStreamDecoder::openStream(int& code) {
  m_packet.reset(av_packet_alloc());
  m_frame.reset(av_frame_alloc());
  m_io = m_input.newIoContext();
  AVFormatContext* format = avformat_alloc_context();
  if (!m_packet || !m_frame || !m_io || format == nullptr) {
    avformat_free_context(format);
    code = AVERROR(ENOMEM);
    m_error = "Out of memory";
    return false;
  }
  format->pb = m_io.get();
  format->flags |= AVFMT_FLAG_CUSTOM_IO;
  format->interrupt_callback = {&FileInput::interruptCallback, &m_input};
  AVDictionary* options = nullptr;
  av_dict_set(&options, "probesize", kProbeBytes, 0);
  av_dict_set(&options, "formatprobesize", kProbeBytes, 0);
  // The name is only a hint for the probe; FFmpeg reads through m_io.
  code = avformat_open_input(&format, m_input.identity().path.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (code < 0) {  // avformat_open_input has freed the context
    m_error = m_input.limitReached()
                  ? "The file took too long to open"
                  : "Not an audio file that can be played (" + ffmpegErrorText(code) + ")";
    return false;
  }
  m_format.reset(format);
  // The options bounded the format probe; this bounds the probe FFmpeg runs
  // on a 16-bit WAV's first packets for compressed audio disguised as PCM,
  // which would otherwise take several ms over 64 KiB.
  format->probesize = kCodecProbeBytes;

  for (unsigned i = 0; i < format->nb_streams; ++i) {
    AVStream* stream = format->streams[i];
    const bool audio = stream->codecpar->codec_type == AVMEDIA_TYPE_AUDIO &&
                       !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
    if (audio && m_streamIndex < 0) {
      m_streamIndex = static_cast<int>(i);
    } else {
      stream->discard = AVDISCARD_ALL;  // never demuxed, probed or decoded
    }
  }
  if (m_streamIndex < 0) {
    code = AVERROR_STREAM_NOT_FOUND;
    m_error = "The file holds no audio";
    return false;
  }

  const AVStream* stream = format->streams[m_streamIndex];
  const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
  if (codec == nullptr) {
    code = AVERROR_DECODER_NOT_FOUND;
    m_error = std::string("The file's audio is in a format that cannot be decoded (") +
              avcodec_get_name(stream->codecpar->codec_id) + ")";
    return false;
  }
  m_codec.reset(avcodec_alloc_context3(codec));
  if (!m_codec) {
    code = AVERROR(ENOMEM);
    m_error = "Out of memory";
    return false;
  }
  code = avcodec_parameters_to_context(m_codec.get(), stream->codecpar);
  if (code >= 0) {
    m_codec->pkt_timebase = stream->time_base;
    m_codec->thread_count = 1;  // audio decoders gain nothing from threads
    code = avcodec_open2(m_codec.get(), codec, nullptr);
  }
  if (code < 0) {
    m_error = "The audio decoder cannot be opened: " + ffmpegErrorText(code);
    return false;
  }
  return true;
}

bool AudioStreamDecoder::decodeFirstFrame(int& code) {
  m_input.setLimits(kOpenTimeout, kFirstFrameByteBudget);
  Step step = decode();
  while (step == Step::Frame && m_frame->nb_samples <= 0) step = decode();
  // A limit reached even with a frame found may have cut a read short.
  if (step != Step::Frame || m_input.limitReached()) {
    code = AVERROR_INVALIDDATA;
    if (m_input.limitReached()) {
      m_error = "No playable audio was found at the start of the file";
    } else if (step == Step::End) {
      m_error = "The file holds no playable audio";
    }
    return false;
  }
  m_outputFormat = SampleConverter::outputFormatFor(*m_frame);
  if (!m_outputFormat.valid()) {
    code = AVERROR_INVALIDDATA;
    m_error = "The audio has no sample rate or no channels";
    return false;
  }
  m_firstPts = m_frame->pts != AV_NOPTS_VALUE ? m_frame->pts : m_frame->best_effort_timestamp;
  // WMA decodes every frame to the same length but does not say so.
  m_frameGrid = m_codec->frame_size;
  if (m_frameGrid <= 0 && (codecId() == AV_CODEC_ID_WMAV1 || codecId() == AV_CODEC_ID_WMAV2)) {
    m_frameGrid = m_frame->nb_samples;
  }
  m_firstFramePending = true;
  return true;
}

AudioStreamDecoder::Step AudioStreamDecoder::next() {
  if (m_firstFramePending) {
    m_firstFramePending = false;
    return Step::Frame;
  }
  return decode();
}

AudioStreamDecoder::Step AudioStreamDecoder::decode() {
  for (;;) {
    int result = avcodec_receive_frame(m_codec.get(), m_frame.get());
    if (result >= 0) {
      m_errorsInARow = 0;
      return Step::Frame;
    }
    if (result == AVERROR_EOF) return Step::End;
    if (result != AVERROR(EAGAIN)) {
      // A frame that does not decode is skipped, as long as the stream does
      // not stay broken.
      if (++m_errorsInARow > kMaxErrorsInARow) return fail(result, "The audio does not decode");
      continue;
    }
    if (m_draining) return Step::End;

    result = readPacket();
    if (result == AVERROR_EOF) {
      m_draining = true;
      result = avcodec_send_packet(m_codec.get(), nullptr);
      if (result < 0) return fail(result, "The audio decoder cannot finish");
      continue;
    }
    if (result < 0) return fail(result, "The file cannot be read");
    result = avcodec_send_packet(m_codec.get(), m_packet.get());
    av_packet_unref(m_packet.get());
    if (result < 0 && result != AVERROR(EAGAIN) && ++m_errorsInARow > kMaxErrorsInARow) {
      return fail(result, "The audio does not decode");
    }
  }
}

AudioStreamDecoder::Step AudioStreamDecoder::skipPacket() {
  const int result = readPacket();
  if (result == AVERROR_EOF) return Step::End;
  if (result < 0) return fail(result, "The file cannot be read");
  av_packet_unref(m_packet.get());
  return Step::Frame;
}

int AudioStreamDecoder::readPacket() {
  for (;;) {
    const int result = av_read_frame(m_format.get(), m_packet.get());
    if (result < 0) {
      // The end of the data, or data the demuxer cannot make sense of (a file
      // cut short, a damaged tail): the stream ends there. Only a failed read
      // or a limit reached is a failure.
      if (result == AVERROR_EXIT || m_input.limitReached()) return AVERROR_EXIT;
      if (m_input.lastReadError() < 0) return m_input.lastReadError();
      return AVERROR_EOF;
    }
    if (m_packet->stream_index != m_streamIndex) {
      av_packet_unref(m_packet.get());
      continue;
    }
    if (m_firstPacketPosition < 0) m_firstPacketPosition = m_packet->pos;
    if (m_landingPacket == kLandingUnknown)
      m_landingPacket = m_packet->pos < 0 ? -1 : m_packet->pos;
    int frames = av_get_audio_frame_duration2(stream().codecpar, m_packet->size);
    if (frames <= 0 && m_packet->duration > 0 && m_outputFormat.sampleRate > 0) {
      frames = static_cast<int>(av_rescale_q(m_packet->duration, stream().time_base,
                                             AVRational{1, m_outputFormat.sampleRate}));
    }
    if (frames <= 0) m_tallyKnown = false;
    std::size_t skipSize = 0;
    const std::uint8_t* skip =
        av_packet_get_side_data(m_packet.get(), AV_PKT_DATA_SKIP_SAMPLES, &skipSize);
    m_tally.add(frames, skip, skipSize);
    return 0;
  }
}

AudioStreamDecoder::Step AudioStreamDecoder::fail(int code, const std::string& what) {
  if (code == AVERROR_EXIT) {
    m_error = what + ": it took too long";
  } else {
    m_error = what + " (" + ffmpegErrorText(code) + ")";
  }
  return Step::Failed;
}

bool AudioStreamDecoder::canSeekByTimestamp() const {
  if (m_firstPts == AV_NOPTS_VALUE || !(m_format->pb->seekable & AVIO_SEEKABLE_NORMAL)) {
    return false;
  }
  // A time base coarser than a frame (WMA's milliseconds) places a frame
  // exactly only on a grid of fixed-size codec frames.
  const AVRational base = stream().time_base;
  const bool fine = av_cmp_q(base, AVRational{1, m_outputFormat.sampleRate}) <= 0;
  return fine || m_frameGrid > 0;
}

FrameCount AudioStreamDecoder::seekPreroll() const {
  const int rate = m_outputFormat.sampleRate;
  const FrameCount preroll = kPrerollMs * rate / 1000;
  const AVCodecID codec = codecId();
  if (codec == AV_CODEC_ID_MP3 || codec == AV_CODEC_ID_MP2 || codec == AV_CODEC_ID_MP1) {
    // Layer III frames hold 1152 frames at 32 kHz and above, 576 below.
    const FrameCount frameSize = rate >= 32000 ? 1152 : 576;
    return std::max(preroll, kMpegPrerollFrames * frameSize);
  }
  return preroll;
}

bool AudioStreamDecoder::seekBefore(FrameCount position) {
  const std::int64_t target =
      m_firstPts + av_rescale_q_rnd(position, AVRational{1, m_outputFormat.sampleRate},
                                    stream().time_base, AV_ROUND_DOWN);
  const int result =
      avformat_seek_file(m_format.get(), m_streamIndex, INT64_MIN, target, target, 0);
  if (result < 0) {
    fail(result, "The file cannot seek");
    return false;
  }
  avcodec_flush_buffers(m_codec.get());
  m_landingPacket = kLandingUnknown;
  m_firstFramePending = false;
  m_draining = false;
  m_errorsInARow = 0;
  return true;
}

std::optional<FrameCount> AudioStreamDecoder::framePosition() const {
  const std::int64_t pts =
      m_frame->pts != AV_NOPTS_VALUE ? m_frame->pts : m_frame->best_effort_timestamp;
  if (pts == AV_NOPTS_VALUE || m_firstPts == AV_NOPTS_VALUE) return std::nullopt;
  if (m_landingPacket == kLandingUnknown ||
      (m_landingPacket >= 0 && m_frame->pkt_pos == m_landingPacket)) {
    return std::nullopt;
  }
  const int rate = m_outputFormat.sampleRate;
  FrameCount position = av_rescale_q_rnd(pts - m_firstPts, stream().time_base, AVRational{1, rate},
                                         AV_ROUND_NEAR_INF);
  if (av_cmp_q(stream().time_base, AVRational{1, rate}) > 0) {
    const FrameCount grid = m_frameGrid;
    if (grid <= 0) return std::nullopt;
    position = (position >= 0 ? position + grid / 2 : position - grid / 2) / grid * grid;
  }
  return position;
}

}  // namespace quillon::audio
