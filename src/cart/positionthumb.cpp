#include "cart/positionthumb.h"

#include "cart/displayvalues.h"
#include "common/rounding.h"

namespace quillon::cart {

bool PositionThumb::press(Twips x, bool playing) {
  if (!playing) return false;
  m_seeking = true;
  m_dragStartX = static_cast<int>(roundHalfEven(x));
  return true;
}

void PositionThumb::drag(Twips x) {
  if (!m_seeking) return;
  const Twips newLeft = x - static_cast<Twips>(m_dragStartX) + m_left;
  if (newLeft <= 0) {
    m_left = 0;
  } else if (newLeft + geometry::thumbInnerWidth() > geometry::kPositionTrack.width) {
    m_left = geometry::thumbTravel();
  } else {
    m_left = newLeft;
  }
}

void PositionThumb::follow(audio::FrameCount elapsed, audio::FrameCount total) {
  m_left = thumbLeftFor(elapsed, total);
}

double PositionThumb::releasePercent() const {
  double p = static_cast<double>(m_left) / static_cast<double>(geometry::thumbTravel()) * 100.0;
  if (p >= 100.0) p = 99.0;
  if (p < 0.0) p = 0.0;
  return p;
}

audio::FrameCount seekTarget(double percent, audio::FrameCount total) {
  return roundHalfEven(percent / 100.0 * static_cast<double>(total));
}

void HoverLight::pointerMoved(Twips x, Twips y, Twips width, Twips height) {
  if (!m_lit) {
    m_lit = true;
    return;
  }
  if (x < 0 || y < 0 || x > width || y > height) m_lit = false;
}

}  // namespace quillon::cart
