// Pre-listen: the cart heard on the cue device (the studio's headphones)
// before it goes on air. It is a play through the cart's second player, so
// pause, stop, the position bar, the loop and the fades act on it as on any
// play, and whatever stops a playing cart stops it. UI thread.
#include "cart/cartouche.h"
#include "cart/lookchange.h"

namespace quillon::cart {

bool Cartouche::setCueDevice(int device) {
  const LookChange change(*this);
  if (m_preListen && m_playing) StopMusic(asrun::EndReason::DeviceChanged);
  if (!m_cuePlayer) makeCuePlayer();
  m_cuePlayer->SelectDevice(device);
  return m_cuePlayer->DeviceUsable();
}

void Cartouche::KeyPressPreListen(const std::string& letter) {
  if (letter.empty() || letter != m_letter) return;
  togglePreListen();
}

void Cartouche::preListenClick() {
  if (!m_cuePlayer) {
    playClick();
    return;
  }
  togglePreListen();
}

void Cartouche::togglePreListen() {
  // The air play is never disturbed; an empty cart has nothing to hear.
  if (!m_cuePlayer || (m_playing && !m_preListen)) return;
  const LookChange change(*this);
  if (m_playing) {
    StopMusic(asrun::EndReason::Stopped);
    return;
  }
  if (m_path.empty()) return;
  // The main output chosen as the cue device too: a pre-listen would be on
  // air.
  if (m_cuePlayer->CurrentDevice() == m_airPlayer->CurrentDevice()) {
    m_startFailure = "the pre-listen device is the output device";
    m_lastError = m_startFailure;
    return;
  }
  listen(asrun::StartCause::Click, true);
}

}  // namespace quillon::cart
