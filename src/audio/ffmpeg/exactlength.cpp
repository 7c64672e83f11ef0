#include "audio/ffmpeg/exactlength.h"

#include <algorithm>
#include <cstring>

#include "audio/ffmpeg/audiostreamdecoder.h"
#include "audio/ffmpeg/fileinput.h"

namespace quillon::audio {
namespace {

// Counting decodes a WMA file at about 1,000 times real time: an hour takes
// seconds. Beyond this the file counts as unreadable.
constexpr std::chrono::milliseconds kCountTimeout{20000};

bool inContainer(const AudioStreamDecoder& decoder, const char* demuxer) {
  return std::strcmp(decoder.containerName(), demuxer) == 0;
}

bool isPcm(AVCodecID codec) {
  // FFmpeg numbers every PCM codec in one block.
  return codec >= AV_CODEC_ID_FIRST_AUDIO && codec < AV_CODEC_ID_ADPCM_IMA_QT;
}

// Frames of the stream's own duration, when its time base counts frames.
std::optional<FrameCount> containerFrames(const AudioStreamDecoder& decoder) {
  const AVStream& stream = decoder.stream();
  const int rate = decoder.outputFormat().sampleRate;
  if (stream.duration == AV_NOPTS_VALUE || stream.duration < 0 ||
      av_cmp_q(stream.time_base, AVRational{1, rate}) != 0) {
    return std::nullopt;
  }
  return stream.duration;
}

std::optional<FrameCount> pcmFrames(const FileInput& input, const AudioStreamDecoder& decoder) {
  const int blockAlign = decoder.stream().codecpar->block_align;
  const std::int64_t dataStart = decoder.firstPacketPosition();
  const std::int64_t size = input.currentSize();
  if (blockAlign <= 0 || dataStart < 0 || size < dataStart) return std::nullopt;
  // A file cut short holds fewer frames than its header says.
  const FrameCount held = (size - dataStart) / blockAlign;
  const auto declared = containerFrames(decoder);
  return declared ? std::min(*declared, held) : held;
}

std::optional<FrameCount> tallyPackets(AudioStreamDecoder& decoder, std::string& error) {
  for (;;) {
    switch (decoder.skipPacket()) {
      case AudioStreamDecoder::Step::Frame:
        break;
      case AudioStreamDecoder::Step::End:
        if (!decoder.tallyKnown()) return std::nullopt;
        return decoder.tally().frames();
      case AudioStreamDecoder::Step::Failed:
        error = decoder.lastError();
        return std::nullopt;
    }
  }
}

std::optional<FrameCount> decodeAll(AudioStreamDecoder& decoder, std::string& error) {
  FrameCount frames = 0;
  for (;;) {
    switch (decoder.next()) {
      case AudioStreamDecoder::Step::Frame:
        frames += decoder.frame().nb_samples;
        break;
      case AudioStreamDecoder::Step::End:
        return frames;
      case AudioStreamDecoder::Step::Failed:
        error = decoder.lastError();
        return std::nullopt;
    }
  }
}

}  // namespace

std::optional<FrameCount> countExactFrames(FileInput& input, AudioStreamDecoder& decoder,
                                           std::string& error) {
  input.setLimits(kCountTimeout);
  const AVCodecID codec = decoder.codecId();
  if (isPcm(codec) && inContainer(decoder, "wav")) {
    if (auto frames = pcmFrames(input, decoder)) return frames;
  } else if (codec == AV_CODEC_ID_VORBIS && inContainer(decoder, "ogg")) {
    if (auto frames = containerFrames(decoder)) return frames;
  } else if ((codec == AV_CODEC_ID_MP3 || codec == AV_CODEC_ID_MP2 || codec == AV_CODEC_ID_MP1) &&
             inContainer(decoder, "mp3")) {
    error.clear();
    if (auto frames = tallyPackets(decoder, error)) return frames;
    if (!error.empty()) return std::nullopt;
    // A packet of unknown size: count again by decoding.
    int code = 0;
    auto fresh = AudioStreamDecoder::open(input, code, error);
    if (!fresh) return std::nullopt;
    input.setLimits(kCountTimeout);
    return decodeAll(*fresh, error);
  }
  return decodeAll(decoder, error);
}

}  // namespace quillon::audio
