// The cart's own controls: play, pause and stop buttons, the hover light of
// the small buttons, the volume knob, the position thumb, and the drop of
// files. UI thread.
#include "cart/cartouche.h"
#include "cart/cartpaths.h"
#include "cart/lookchange.h"

namespace quillon::cart {

namespace {

constexpr Twips kSmallButtonWidth = geometry::kPauseButton.width;
constexpr Twips kSmallButtonHeight = geometry::kPauseButton.height;

}  // namespace

void Cartouche::playClick() {
  if (m_path.empty()) return;
  // Also on a playing or paused cart: it starts again from the beginning.
  ListenMusic();
}

void Cartouche::stopClick() {
  if (!m_playing) return;
  const LookChange change(*this);
  StopMusic(asrun::EndReason::Stopped);
}

void Cartouche::pauseClick() {
  if (!m_playing || m_opening) return;
  const LookChange change(*this);
  if (m_paused) {
    resume();
  } else {
    pause();
  }
}

void Cartouche::pauseHover(Twips x, Twips y) {
  // While paused the button stays lit: it marks the paused cart.
  if (m_paused) return;
  const LookChange change(*this);
  m_pauseLight.pointerMoved(x, y, kSmallButtonWidth, kSmallButtonHeight);
}

void Cartouche::stopHover(Twips x, Twips y) {
  const LookChange change(*this);
  m_stopLight.pointerMoved(x, y, kSmallButtonWidth, kSmallButtonHeight);
}

void Cartouche::pauseLeave() {
  if (m_paused) return;  // the lit button marks the paused cart
  const LookChange change(*this);
  m_pauseLight.pointerLeft();
}

void Cartouche::stopLeave() {
  const LookChange change(*this);
  m_stopLight.pointerLeft();
}

void Cartouche::thumbLeave() {
  const LookChange change(*this);
  m_thumbLight.pointerLeft();
}

void Cartouche::knobPress(Twips x) { m_knob.press(x); }

void Cartouche::knobMove(Twips x) {
  const LookChange change(*this);
  if (const auto volume = m_knob.move(x)) m_volume = *volume;
}

void Cartouche::knobRelease() { m_knob.release(); }

bool Cartouche::thumbPress(Twips x) { return m_thumb.press(x, m_playing && !m_opening); }

void Cartouche::thumbMove(Twips x, Twips y) {
  const LookChange change(*this);
  m_thumbLight.pointerMoved(x, y, geometry::thumbInnerWidth(), geometry::kThumbHeight);
  m_thumb.drag(x);
}

void Cartouche::thumbRelease() {
  const LookChange change(*this);
  if (!m_playing || m_opening) {
    // The file ended or was stopped during the drag.
    m_thumb.toLeftEnd();
    m_thumb.endDrag();
    return;
  }
  // Only a drag begun on the playing cart jumps.
  if (!m_thumb.seeking()) return;
  seekToThumb();
  m_thumb.endDrag();
}

void Cartouche::dragOver() {
  if (m_listener) m_listener->Survole();
}

void Cartouche::drop(const std::optional<std::vector<std::string>>& fileList) {
  const LookChange change(*this);
  // Raised before the data is looked at, so the host clears its highlight
  // also for drops that bind nothing.
  if (m_listener) m_listener->AffectFile();
  if (!fileList) return;
  for (const std::string& path : *fileList) {
    if (!isAcceptedAudioPath(path)) continue;
    if (m_playing) StopMusic(asrun::EndReason::Replaced);
    // A file that cannot be analysed stays bound and shows as missing; the
    // next accepted path, if any, takes its place.
    bind(path);
  }
}

}  // namespace quillon::cart
