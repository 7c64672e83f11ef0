#include "audio/ffmpeg/ffmpegreader.h"

#include <algorithm>

#include "audio/ffmpeg/audiostreamdecoder.h"
#include "audio/ffmpeg/exactlength.h"
#include "audio/ffmpeg/ffmpegerrors.h"
#include "audio/ffmpeg/fileinput.h"
#include "audio/ffmpeg/lengthcache.h"

namespace quillon::audio {
namespace {

constexpr int kNoFile = AVERROR(EBADF);
// A seek that lands past its target tries again from four times further back.
constexpr int kSeekAttempts = 3;
// Frames without a usable timestamp tolerated right after a seek: an Ogg page
// holds up to a few hundred.
constexpr int kFramesWithoutPosition = 1024;
// Bounds of one call: a stalled or pathological file ends the call with an
// error instead of freezing the program.
constexpr std::chrono::milliseconds kReadTimeout{2000};
constexpr std::chrono::milliseconds kSeekTimeout{5000};

}  // namespace

FfmpegReader::FfmpegReader(std::shared_ptr<LengthCache> cache)
    : m_cache(std::move(cache)), m_status(kNoFile) {
  silenceFfmpegLog();
}

FfmpegReader::~FfmpegReader() = default;

int FfmpegReader::OpenFile(const std::string& path) {
  CloseFile();
  int code = 0;
  std::string error;
  auto input = FileInput::open(path, code, error);
  if (!input) return failOpen(code, error, nullptr);
  auto decoder = AudioStreamDecoder::open(*input, code, error);
  if (!decoder) return failOpen(code, error, input.get());

  std::optional<KnownLength> known;
  if (m_cache) known = m_cache->find(input->identity());
  if (!known || known->format != decoder->outputFormat()) {
    const auto frames = countExactFrames(*input, *decoder, error);
    if (!frames) return failOpen(AVERROR_INVALIDDATA, error, input.get());
    known = KnownLength{*frames, decoder->outputFormat()};
    if (m_cache) m_cache->store(input->identity(), *known);
    decoder = AudioStreamDecoder::open(*input, code, error);  // counting used it up
    if (!decoder) return failOpen(code, error, input.get());
  }

  m_format = decoder->outputFormat();
  m_converter.setOutputFormat(m_format);
  m_total = known->frames;
  m_input = std::move(input);
  m_decoder = std::move(decoder);
  m_status = 0;
  return m_status;
}

int FfmpegReader::failOpen(int code, const std::string& error, const FileInput* input) {
  m_status = code < 0 ? code : AVERROR_INVALIDDATA;
  m_error = error;
  m_bytesReadByRefusal = input != nullptr ? input->bytesRead() : 0;
  return m_status;
}

void FfmpegReader::CloseFile() {
  m_bytesReadByRefusal = 0;
  m_decoder.reset();
  m_input.reset();
  m_converter.setOutputFormat(AudioFormat{});
  m_status = kNoFile;
  m_format = AudioFormat{};
  m_total = 0;
  m_position = 0;
  m_skip = 0;
  m_pending.clear();
  m_pendingStart = 0;
  m_decoderEnded = false;
  m_decoderFailed = false;
}

ReadResult FfmpegReader::ReadBlock(FrameCount frames, AudioBlock& block) {
  std::vector<std::int16_t>& out = block.samples;
  out.clear();  // keeps its capacity: a reused block costs no allocation
  block.channels = m_format.channels;
  block.sampleRate = m_format.sampleRate;
  if (m_status < 0 || !m_decoder) {
    if (m_status < 0) m_error = "No file is open";
    return ReadResult::Failed;
  }
  if (frames <= 0) {
    m_error = "A block must hold at least one frame";
    return ReadResult::Failed;
  }
  const FrameCount wanted = std::min(frames, m_total - m_position);
  if (wanted <= 0) return ReadResult::End;

  m_input->setLimits(kReadTimeout);
  const auto channels = static_cast<std::size_t>(m_format.channels);
  const std::size_t wantedSamples = static_cast<std::size_t>(wanted) * channels;
  // Frames decoded past the last block come first.
  const std::size_t fromPending = std::min(wantedSamples, m_pending.size() - m_pendingStart);
  const auto pendingStart = m_pending.begin() + static_cast<std::ptrdiff_t>(m_pendingStart);
  out.insert(out.end(), pendingStart, pendingStart + static_cast<std::ptrdiff_t>(fromPending));
  m_pendingStart += fromPending;
  if (m_pendingStart == m_pending.size()) {
    m_pending.clear();
    m_pendingStart = 0;
  }
  // Then frames decoded straight into the block; what the last one brings
  // beyond the block waits for the next.
  while (out.size() < wantedSamples && decodeInto(out)) {
  }
  if (out.size() > wantedSamples) {
    m_pending.assign(out.begin() + static_cast<std::ptrdiff_t>(wantedSamples), out.end());
    out.resize(wantedSamples);
  }
  const auto taken = static_cast<FrameCount>(out.size() / channels);
  if (taken <= 0) return m_decoderFailed ? ReadResult::Failed : ReadResult::End;
  m_position += taken;
  return ReadResult::Data;
}

bool FfmpegReader::decodeInto(std::vector<std::int16_t>& out) {
  if (m_decoderEnded || m_decoderFailed) return false;
  switch (m_decoder->next()) {
    case AudioStreamDecoder::Step::Frame:
      if (takeFrame(out)) return true;
      m_decoderFailed = true;
      return false;
    case AudioStreamDecoder::Step::End:
      m_decoderEnded = true;
      return false;
    case AudioStreamDecoder::Step::Failed:
      m_error = m_decoder->lastError();
      m_decoderFailed = true;
      return false;
  }
  return false;
}

bool FfmpegReader::takeFrame(std::vector<std::int16_t>& out) {
  const AVFrame& frame = m_decoder->frame();
  if (m_skip >= frame.nb_samples) {  // dropped whole: no need to convert it
    m_skip -= frame.nb_samples;
    return true;
  }
  const std::size_t start = out.size();
  if (!m_converter.append(frame, out, m_error)) return false;
  if (m_skip > 0) {
    const auto first = out.begin() + static_cast<std::ptrdiff_t>(start);
    const auto dropped = std::min<std::ptrdiff_t>(
        static_cast<std::ptrdiff_t>(m_skip) * m_format.channels, out.end() - first);
    out.erase(first, first + dropped);
    m_skip = 0;
  }
  return true;
}

std::optional<FrameCount> FfmpegReader::SeekSample(FrameCount frame) {
  if (m_status < 0 || !m_input) {
    m_error = "No file is open";
    return std::nullopt;
  }
  const FrameCount target = std::clamp<FrameCount>(frame, 0, m_total);
  m_pending.clear();
  m_pendingStart = 0;
  m_converter.reset();
  m_decoderEnded = false;
  m_decoderFailed = false;
  m_skip = 0;
  m_input->setLimits(kSeekTimeout);
  if (m_decoder && target > m_decoder->seekPreroll() && m_decoder->canSeekByTimestamp() &&
      seekByTimestamp(target)) {
    m_position = target;
    return target;
  }
  if (!restartFromBeginning()) return std::nullopt;
  m_skip = target;
  m_position = target;
  return target;
}

bool FfmpegReader::seekByTimestamp(FrameCount target) {
  FrameCount preroll = m_decoder->seekPreroll();
  for (int attempt = 0; attempt < kSeekAttempts; ++attempt, preroll *= 4) {
    const FrameCount start = target - preroll;
    if (start <= 0 || !m_decoder->seekBefore(start)) return false;
    std::optional<FrameCount> position;
    for (int i = 0; i < kFramesWithoutPosition && !position; ++i) {
      if (m_decoder->next() != AudioStreamDecoder::Step::Frame) return false;
      position = m_decoder->framePosition();
    }
    if (!position || *position > target) continue;  // landed late: start earlier
    m_skip = target - *position;
    return takeFrame(m_pending);
  }
  return false;
}

bool FfmpegReader::restartFromBeginning() {
  int code = 0;
  m_decoder = AudioStreamDecoder::open(*m_input, code, m_error);
  m_input->setLimits(kSeekTimeout);  // opening set its own limits
  m_converter.reset();
  return m_decoder != nullptr;
}

std::int64_t FfmpegReader::bytesRead() const {
  return m_input ? m_input->bytesRead() : m_bytesReadByRefusal;
}

}  // namespace quillon::audio
