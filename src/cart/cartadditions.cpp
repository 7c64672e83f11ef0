// What the program adds to a cart: the panic stop and fade, and the end
// warning's rule. UI thread.
#include <algorithm>

#include "cart/cartouche.h"
#include "cart/lookchange.h"

namespace quillon::cart {

void Cartouche::stopPlaying() {
  if (!m_playing) return;
  const LookChange change(*this);
  StopMusic(asrun::EndReason::Panic);
}

void Cartouche::fadeOutAndStop(std::int64_t ms) {
  if (!m_playing || m_paused || m_fadeToSilence.running()) return;
  m_fadeToSilence.start(m_player->MsToSamples(ms), waitingFrames());
}

audio::FrameCount Cartouche::waitingFrames() const {
  return std::max<audio::FrameCount>(m_fedFrames - m_player->PlayedSamples(), 0);
}

void Cartouche::setEndWarning(const EndWarningRule& rule) {
  const LookChange change(*this);
  m_endWarning = rule;
}

}  // namespace quillon::cart
