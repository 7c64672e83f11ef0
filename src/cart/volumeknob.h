// The volume knob: a knob dragged along a track, its left edge mapping to a
// volume of 0 (left end) to 100 (right end). Dragging changes the volume and
// the tooltip only; playback takes the volume with its next block. UI thread.
#pragma once

#include <optional>
#include <string>

#include "cart/cartgeometry.h"

namespace quillon::cart {

constexpr int kMinimumVolume = 0;
constexpr int kMaximumVolume = 100;

// The knob's tooltip, e.g. "Volume= 75".
std::string volumeTooltip(int volume);

class VolumeKnob {
 public:
  Twips left() const { return m_left; }
  // `DraggingVolume`: from a press on the knob to the release.
  bool dragging() const { return m_dragging; }

  // Pointer events, x in twips from the knob's own left edge.
  void press(Twips x);
  // The volume the knob now gives, or nothing when no drag is held.
  std::optional<int> move(Twips x);
  void release() { m_dragging = false; }

  // Places the knob for a volume (0 to 100).
  void showVolume(int volume);

 private:
  Twips m_left = geometry::kKnobLeftAtCreation;
  bool m_dragging = false;
  int m_dragStartX = 0;  // `DragStartX`: where in the knob it was grabbed
};

}  // namespace quillon::cart
