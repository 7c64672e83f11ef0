// One player's channel into a device's mix. The UI thread queues blocks and
// switches plays; the audio thread plays them. Two threads, no lock:
// - blocks go UI -> audio through one single-producer single-consumer queue
//   and come back audio -> UI through another, so that they are allocated and
//   freed on the UI thread only;
// - a play is switched by storing a new command word (epoch, open); blocks
//   carry the epoch they were queued in, and the audio thread drops every
//   block of an older epoch after fading the old play out;
// - what the audio thread did comes back as atomics, each with its ordering
//   noted below.
//
// Ramps: a play fades in over the first rampFrames() frames it plays, and out
// over rampFrames() frames when it is reset, closed or switched while audible
// (the fade-out plays on into the old play's queued frames, so no step is
// heard). After an underrun the next frames fade in again. The end of a file
// is played as it is, with no fade.
//
// Counting: progress() counts the device frames of the current play that the
// audio thread has mixed, fade-in included. The fade-out frames after a switch
// belong to the old play and are not counted in the new one.
#pragma once

#include <array>
#include <atomic>
#include <boost/lockfree/spsc_queue.hpp>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/portaudio/voiceblock.h"

namespace quillon::audio {

class Voice {
 public:
  // Blocks in flight per voice (queued, playing, or waiting to be freed).
  static constexpr std::size_t kMaxBlocks = 64;
  // Mono history for RecentSamples, at the device's rate.
  static constexpr std::size_t kRecentCapacity = 4096;

  explicit Voice(int rampFrames);
  // Only once no audio thread can reach this voice any more.
  ~Voice();
  Voice(const Voice&) = delete;
  Voice& operator=(const Voice&) = delete;

  int rampFrames() const { return m_rampFrames; }

  // --- For the UI thread only ---
  // Starts a new play (open) or silence (closed); returns its epoch. The
  // previous play fades out and its blocks are dropped.
  std::uint32_t command(bool open);
  // Queues a block of the current epoch. False when kMaxBlocks are in flight.
  bool push(std::unique_ptr<VoiceBlock> block);
  // Frees the blocks the audio thread has finished with.
  void reclaim();
  // True when push() would refuse.
  bool full() {
    reclaim();
    return m_outstanding >= kMaxBlocks;
  }

  struct Progress {
    FrameCount frames = 0;  // device frames of the play mixed so far
    bool ended = false;     // its end-of-file block has played
  };
  Progress progress(std::uint32_t epoch) const;
  // Dry spells since the voice was made (a caller keeps its own base).
  std::int64_t underruns() const { return m_underruns.load(std::memory_order_relaxed); }
  // Frames written to the history since the voice was made.
  std::uint64_t recentWritten() const { return m_recentWritten.load(std::memory_order_acquire); }
  // The last `count` mono frames mixed, zeros before `since` (a recentWritten value).
  std::vector<std::int16_t> recent(int count, std::uint64_t since) const;
  // Peaks since the last call, 0..32767.
  std::pair<int, int> takePeaks();
  // Steady-clock time (ns) of the callback that mixed the first frame of the
  // latest play to start; 0 before any.
  std::int64_t firstFrameTime() const { return m_firstFrameTime.load(std::memory_order_relaxed); }

  // --- For the audio thread only ---
  // Adds this voice's next `frames` stereo frames to `mix`. Never blocks,
  // allocates or frees. `nowNs` is the callback's time.
  void mixInto(std::int32_t* mix, int frames, std::int64_t nowNs) noexcept;

 private:
  static std::uint64_t packCommand(std::uint32_t epoch, bool open) {
    return (static_cast<std::uint64_t>(epoch) << 1) | (open ? 1u : 0u);
  }
  static std::uint64_t packProgress(std::uint32_t epoch, FrameCount frames);

  // Audio thread helpers.
  bool currentOf(std::uint32_t epoch) noexcept;
  void finishCurrent() noexcept;
  void switchTo(std::uint32_t epoch, bool open) noexcept;
  int play(std::int32_t* mix, int frames, bool fadingOut) noexcept;
  void remember(std::int32_t left, std::int32_t right) noexcept;

  const int m_rampFrames;

  // UI -> audio.
  boost::lockfree::spsc_queue<VoiceBlock*, boost::lockfree::capacity<kMaxBlocks>> m_incoming;
  // Release by the UI, acquire by the audio thread: blocks pushed before a
  // command are visible once the command is.
  std::atomic<std::uint64_t> m_command{0};

  // Audio -> UI.
  boost::lockfree::spsc_queue<VoiceBlock*, boost::lockfree::capacity<kMaxBlocks>> m_returned;
  // (epoch low 24 bits, frames 40 bits). Release by audio, acquire by UI.
  std::atomic<std::uint64_t> m_progress{0};
  // Epoch + 1 of the latest play whose end has played (0: none). Stored with
  // release after the final progress, so the UI that sees it (acquire) sees
  // the final count.
  std::atomic<std::uint32_t> m_endedEpoch{0};
  // Plain counters for display: relaxed.
  std::atomic<std::int64_t> m_underruns{0};
  std::atomic<int> m_peakLeft{0};
  std::atomic<int> m_peakRight{0};
  std::atomic<std::int64_t> m_firstFrameTime{0};
  // History ring: samples relaxed (a torn trace is harmless), the write count
  // released after them.
  std::array<std::atomic<std::int16_t>, kRecentCapacity> m_recent{};
  std::atomic<std::uint64_t> m_recentWritten{0};

  // UI thread state.
  std::uint32_t m_uiEpoch = 0;
  std::size_t m_outstanding = 0;  // blocks pushed and not yet reclaimed

  // Audio thread state.
  std::uint32_t m_epoch = 0;
  bool m_open = false;
  bool m_fading = false;      // an old play is fading out before a switch
  bool m_started = false;     // the play has mixed a frame
  bool m_dry = false;         // in an underrun
  bool m_endReached = false;  // the end-of-file block has played
  int m_gain = 0;             // ramp position, 0..m_rampFrames
  VoiceBlock* m_current = nullptr;
  FrameCount m_position = 0;    // frames of m_current already mixed
  FrameCount m_played = 0;      // frames of the play mixed
  std::uint64_t m_written = 0;  // mirror of m_recentWritten
  int m_blockPeakLeft = 0;
  int m_blockPeakRight = 0;
  std::int64_t m_now = 0;
};

}  // namespace quillon::audio
