// The mix of one output device: a fixed set of voices, preallocated, summed
// and saturated into the device's buffer. Plain C++, no device code, so it is
// tested and measured by calling render() directly.
//
// Threads: claimVoice/releaseVoice/reclaimIdle on the UI thread; render on the
// audio thread (the device callback, or the null device's clock thread).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "audio/portaudio/voice.h"

namespace quillon::audio {

class Mixer {
 public:
  static constexpr int kMaxVoices = 64;
  // Ramps at start, stop, pause and reset.
  static constexpr int kRampMs = 4;

  explicit Mixer(int sampleRate);
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  int sampleRate() const { return m_sampleRate; }

  // --- UI thread ---
  // A voice for a player; null when every voice is taken.
  Voice* claimVoice();
  // The voice goes back to the pool; its play must already be closed.
  void releaseVoice(Voice* voice);
  int claimedVoices() const;
  // Frees the finished blocks of voices that no player holds.
  void reclaimIdle();

  // --- audio thread ---
  // Fills `frames` frames of `channels` interleaved 16-bit samples: the sum
  // of every voice, saturated. Real-time safe: no lock, no allocation, no
  // I/O, no logging; always fills the whole buffer.
  void render(std::int16_t* out, int frames, int channels, std::int64_t nowNs) noexcept;

 private:
  static constexpr int kChunkFrames = 512;

  const int m_sampleRate;
  std::vector<std::unique_ptr<Voice>> m_voices;
  std::vector<bool> m_claimed;                         // UI thread
  std::array<std::int32_t, 2 * kChunkFrames> m_sum{};  // audio thread
};

}  // namespace quillon::audio
