#include "audio/portaudio/voice.h"

#include <algorithm>
#include <cstdlib>

namespace quillon::audio {

namespace {

constexpr int kEpochBits = 24;
constexpr int kFrameBits = 40;
constexpr std::uint64_t kFrameMask = (std::uint64_t{1} << kFrameBits) - 1;
constexpr std::uint64_t kEpochMask = (std::uint64_t{1} << kEpochBits) - 1;

// True when epoch `a` was issued before epoch `b` (wrap-safe).
bool olderThan(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b) < 0; }

}  // namespace

Voice::Voice(int rampFrames) : m_rampFrames(std::max(rampFrames, 1)) {}

Voice::~Voice() {
  // No audio thread reaches the voice any more, so this thread may take the
  // consumer side of the incoming queue too.
  delete m_current;
  VoiceBlock* block = nullptr;
  while (m_incoming.pop(block)) delete block;
  while (m_returned.pop(block)) delete block;
}

std::uint64_t Voice::packProgress(std::uint32_t epoch, FrameCount frames) {
  return ((epoch & kEpochMask) << kFrameBits) | (static_cast<std::uint64_t>(frames) & kFrameMask);
}

// UI thread
std::uint32_t Voice::command(bool open) {
  ++m_uiEpoch;
  m_command.store(packCommand(m_uiEpoch, open), std::memory_order_release);
  return m_uiEpoch;
}

// UI thread
bool Voice::push(std::unique_ptr<VoiceBlock> block) {
  reclaim();
  // Bounding the blocks in flight by both queues' capacity means the audio
  // thread's push to m_returned can never fail.
  if (m_outstanding >= kMaxBlocks) return false;
  block->epoch = m_uiEpoch;
  if (!m_incoming.push(block.get())) return false;
  block.release();
  ++m_outstanding;
  return true;
}

// UI thread
void Voice::reclaim() {
  VoiceBlock* block = nullptr;
  while (m_returned.pop(block)) {
    delete block;
    --m_outstanding;
  }
}

// UI thread
Voice::Progress Voice::progress(std::uint32_t epoch) const {
  Progress p;
  p.ended = epoch != 0 && m_endedEpoch.load(std::memory_order_acquire) == epoch;
  const std::uint64_t word = m_progress.load(std::memory_order_acquire);
  if ((word >> kFrameBits) == (epoch & kEpochMask)) {
    p.frames = static_cast<FrameCount>(word & kFrameMask);
  }
  return p;
}

// UI thread
std::vector<std::int16_t> Voice::recent(int count, std::uint64_t since) const {
  const auto n = static_cast<std::size_t>(std::clamp(count, 0, static_cast<int>(kRecentCapacity)));
  std::vector<std::int16_t> out(n, 0);
  const std::uint64_t written = recentWritten();
  for (std::size_t k = 0; k < n; ++k) {
    // Frame index of out[k] in the history.
    const std::uint64_t back = n - k;
    if (back > written || written - back < since) continue;
    out[k] = m_recent[(written - back) % kRecentCapacity].load(std::memory_order_relaxed);
  }
  return out;
}

// UI thread
std::pair<int, int> Voice::takePeaks() {
  return {m_peakLeft.exchange(0, std::memory_order_relaxed),
          m_peakRight.exchange(0, std::memory_order_relaxed)};
}

// audio thread
void Voice::mixInto(std::int32_t* mix, int frames, std::int64_t nowNs) noexcept {
  m_now = nowNs;
  const std::uint64_t cmd = m_command.load(std::memory_order_acquire);
  const auto epoch = static_cast<std::uint32_t>(cmd >> 1);
  const bool open = (cmd & 1) != 0;
  if (epoch == m_epoch && !m_open && !m_fading) return;  // idle: nothing to do
  if (epoch != m_epoch && !m_fading) {
    // Fade out only what is being heard; anything else switches at once.
    const bool audible = m_open && m_gain > 0 && !m_dry;
    if (audible) {
      m_fading = true;
    } else {
      switchTo(epoch, open);
    }
  }

  int done = 0;
  while (done < frames) {
    if (m_fading) {
      if (m_gain == 0 || !currentOf(m_epoch)) {
        m_fading = false;
        switchTo(epoch, open);
        continue;
      }
    } else {
      if (!m_open) break;
      if (!currentOf(m_epoch)) {
        // A block of a newer play at the front means a switch is on its way:
        // not an underrun of this play.
        const bool newerWaiting = m_incoming.read_available() > 0;
        if (m_started && !m_endReached && !m_dry && !newerWaiting) {
          m_dry = true;
          m_gain = 0;  // what comes after the gap fades in
          m_underruns.fetch_add(1, std::memory_order_relaxed);
        }
        break;
      }
      m_dry = false;
      if (!m_started) {
        m_started = true;
        m_firstFrameTime.store(m_now, std::memory_order_relaxed);
      }
    }
    done += play(mix + 2 * done, frames - done, m_fading);
  }
  if (m_open) {
    for (int i = done; i < frames; ++i) remember(0, 0);
  }
  m_recentWritten.store(m_written, std::memory_order_release);
  if (m_blockPeakLeft > m_peakLeft.load(std::memory_order_relaxed)) {
    m_peakLeft.store(m_blockPeakLeft, std::memory_order_relaxed);
  }
  if (m_blockPeakRight > m_peakRight.load(std::memory_order_relaxed)) {
    m_peakRight.store(m_blockPeakRight, std::memory_order_relaxed);
  }
  m_blockPeakLeft = m_blockPeakRight = 0;
  if (!m_fading) m_progress.store(packProgress(m_epoch, m_played), std::memory_order_release);
}

// audio thread. Makes m_current a block of `epoch` with frames left to mix.
bool Voice::currentOf(std::uint32_t epoch) noexcept {
  for (;;) {
    if (m_current != nullptr) {
      if (m_position < m_current->frames()) return true;
      finishCurrent();
      continue;
    }
    if (m_incoming.read_available() == 0) return false;
    VoiceBlock* front = m_incoming.front();
    if (front->epoch != epoch) return false;
    m_incoming.pop();
    m_current = front;
    m_position = 0;
  }
}

// audio thread
void Voice::finishCurrent() noexcept {
  VoiceBlock* finished = m_current;
  m_current = nullptr;
  m_position = 0;
  if (finished->endOfFile && !m_fading && finished->epoch == m_epoch) {
    m_endReached = true;
    m_progress.store(packProgress(m_epoch, m_played), std::memory_order_release);
    m_endedEpoch.store(m_epoch, std::memory_order_release);
  }
  m_returned.push(finished);  // never full: see push()
}

// audio thread
void Voice::switchTo(std::uint32_t epoch, bool open) noexcept {
  if (m_current != nullptr) {
    m_returned.push(m_current);
    m_current = nullptr;
  }
  // Every block of an older play was pushed before the command we read, so
  // it is visible now; blocks of the new play (or a later one) stay.
  while (m_incoming.read_available() > 0 && olderThan(m_incoming.front()->epoch, epoch)) {
    m_returned.push(m_incoming.front());
    m_incoming.pop();
  }
  m_epoch = epoch;
  m_open = open;
  m_started = m_dry = m_endReached = false;
  m_gain = 0;
  m_position = 0;
  m_played = 0;
  m_progress.store(packProgress(m_epoch, 0), std::memory_order_release);
}

// audio thread. Mixes up to `frames` frames of m_current; returns how many.
// The loop works on locals so that the compiler keeps them in registers.
int Voice::play(std::int32_t* mix, int frames, bool fadingOut) noexcept {
  const std::int16_t* src = m_current->samples.data() + 2 * m_position;
  FrameCount n = std::min<FrameCount>(frames, m_current->frames() - m_position);
  if (fadingOut) n = std::min<FrameCount>(n, m_gain);
  const int ramp = m_rampFrames;
  int gain = m_gain;
  int peakLeft = m_blockPeakLeft;
  int peakRight = m_blockPeakRight;
  std::uint64_t written = m_written;
  FrameCount i = 0;
  auto emit = [&](std::int32_t left, std::int32_t right) {
    mix[2 * i] += left;
    mix[2 * i + 1] += right;
    peakLeft = std::max(peakLeft, std::abs(left));
    peakRight = std::max(peakRight, std::abs(right));
    m_recent[written % kRecentCapacity].store(static_cast<std::int16_t>((left + right) / 2),
                                              std::memory_order_relaxed);
    ++written;
  };
  if (fadingOut) {
    for (; i < n; ++i) {
      --gain;  // the last frame of the fade is at gain 0
      emit(src[2 * i] * gain / ramp, src[2 * i + 1] * gain / ramp);
    }
  } else {
    for (; i < n && gain < ramp; ++i) {
      ++gain;
      emit(src[2 * i] * gain / ramp, src[2 * i + 1] * gain / ramp);
    }
    for (; i < n; ++i) emit(src[2 * i], src[2 * i + 1]);
    m_played += n;
  }
  m_gain = gain;
  m_blockPeakLeft = std::min(peakLeft, 32767);
  m_blockPeakRight = std::min(peakRight, 32767);
  m_written = written;
  m_position += n;
  return static_cast<int>(n);
}

// audio thread
void Voice::remember(std::int32_t left, std::int32_t right) noexcept {
  m_blockPeakLeft = std::max(m_blockPeakLeft, std::min(std::abs(left), 32767));
  m_blockPeakRight = std::max(m_blockPeakRight, std::min(std::abs(right), 32767));
  m_recent[m_written % kRecentCapacity].store(static_cast<std::int16_t>((left + right) / 2),
                                              std::memory_order_relaxed);
  ++m_written;
}

}  // namespace quillon::audio
