#include "audio/portaudio/mixer.h"

#include <algorithm>

namespace quillon::audio {

namespace {

std::int16_t saturate(std::int32_t v) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(v, INT16_MIN, INT16_MAX));
}

}  // namespace

Mixer::Mixer(int sampleRate) : m_sampleRate(sampleRate), m_claimed(kMaxVoices, false) {
  const int ramp = std::max(1, sampleRate * kRampMs / 1000);
  m_voices.reserve(kMaxVoices);
  for (int i = 0; i < kMaxVoices; ++i) m_voices.push_back(std::make_unique<Voice>(ramp));
}

// UI thread
Voice* Mixer::claimVoice() {
  for (std::size_t i = 0; i < m_voices.size(); ++i) {
    if (!m_claimed[i]) {
      m_claimed[i] = true;
      m_voices[i]->reclaim();
      return m_voices[i].get();
    }
  }
  return nullptr;
}

// UI thread
void Mixer::releaseVoice(Voice* voice) {
  for (std::size_t i = 0; i < m_voices.size(); ++i) {
    if (m_voices[i].get() == voice) m_claimed[i] = false;
  }
}

// UI thread
int Mixer::claimedVoices() const {
  return static_cast<int>(std::count(m_claimed.begin(), m_claimed.end(), true));
}

// UI thread
void Mixer::reclaimIdle() {
  for (std::size_t i = 0; i < m_voices.size(); ++i) {
    if (!m_claimed[i]) m_voices[i]->reclaim();
  }
}

// audio thread
void Mixer::render(std::int16_t* out, int frames, int channels, std::int64_t nowNs) noexcept {
  while (frames > 0) {
    const int n = std::min(frames, kChunkFrames);
    std::fill_n(m_sum.begin(), 2 * n, 0);
    for (auto& voice : m_voices) voice->mixInto(m_sum.data(), n, nowNs);
    for (int f = 0; f < n; ++f) {
      const std::int32_t left = m_sum[2 * f];
      const std::int32_t right = m_sum[2 * f + 1];
      if (channels == 1) {
        out[f] = saturate((left + right) / 2);
      } else {
        out[f * channels] = saturate(left);
        out[f * channels + 1] = saturate(right);
        for (int c = 2; c < channels; ++c) out[f * channels + c] = 0;
      }
    }
    out += static_cast<std::ptrdiff_t>(n) * channels;
    frames -= n;
  }
}

}  // namespace quillon::audio
