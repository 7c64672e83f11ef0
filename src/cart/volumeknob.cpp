#include "cart/volumeknob.h"

#include "common/rounding.h"

namespace quillon::cart {

std::string volumeTooltip(int volume) {
  return (volume >= 0 ? "Volume= " : "Volume=") + std::to_string(volume);
}

void VolumeKnob::press(Twips x) {
  m_dragging = true;
  m_dragStartX = static_cast<int>(roundHalfEven(x));
}

std::optional<int> VolumeKnob::move(Twips x) {
  if (!m_dragging) return std::nullopt;
  // Keep the point of the knob that was grabbed under the pointer.
  const Twips newLeft = x - static_cast<Twips>(m_dragStartX) + m_left;
  bool atEnd = false;
  if (newLeft <= 0) {
    m_left = 0;
  } else if (newLeft + geometry::kKnobWidth > geometry::kVolumeTrack.width) {
    m_left = geometry::kKnobTravel;
    atEnd = true;
  } else {
    m_left = newLeft;
  }
  if (atEnd) return kMaximumVolume;
  // left × 100 / travel rather than 100 / travel × left: exact at the halves.
  return static_cast<int>(
      roundHalfEven(static_cast<double>(m_left) * 100.0 / geometry::kKnobTravel));
}

void VolumeKnob::showVolume(int volume) {
  m_left = geometry::kKnobTravel / 100.0f * static_cast<Twips>(volume);
}

}  // namespace quillon::cart
