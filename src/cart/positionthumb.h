// The position bar's thumb: follows playback, and can be grabbed and dropped
// elsewhere to jump within the file; the jump happens at the release. This
// class holds the thumb's place and its drag; the cart does the jump.
// UI thread.
#pragma once

#include "audio/audioformat.h"
#include "cart/cartgeometry.h"

namespace quillon::cart {

class PositionThumb {
 public:
  Twips left() const { return m_left; }
  // `Seeking`: the operator holds the thumb of a playing cart.
  bool seeking() const { return m_seeking; }

  // A press, x in twips from the thumb's left edge. Starts a drag only on a
  // playing cart; true when it does (the view then confines the pointer to
  // the track).
  bool press(Twips x, bool playing);
  // The pointer moved while held: the thumb follows it within the track.
  void drag(Twips x);
  void endDrag() { m_seeking = false; }

  // Where playback stands, while no drag holds the thumb.
  void follow(audio::FrameCount elapsed, audio::FrameCount total);
  void toLeftEnd() { m_left = 0; }

  // The percentage of the file the thumb points at, below 100: the right end
  // jumps to 99 %, never to the very end.
  double releasePercent() const;

 private:
  Twips m_left = 0;
  bool m_seeking = false;
  int m_dragStartX = 0;  // `DragStartX`
};

// The frame a jump to `percent` of a file lands on, to the nearest (halves to
// even).
audio::FrameCount seekTarget(double percent, audio::FrameCount total);

// The pause and stop buttons and the thumb light up while the pointer is over
// them: lit on the first movement over them, back to normal on the first
// movement found outside their area (x or y below 0 or past the size).
class HoverLight {
 public:
  bool lit() const { return m_lit; }
  void pointerMoved(Twips x, Twips y, Twips width, Twips height);
  // Where a platform reports the pointer's leaving rather than a movement
  // outside: the same normal look, and no light if it was not lit.
  void pointerLeft() { m_lit = false; }
  void off() { m_lit = false; }

 private:
  bool m_lit = false;
};

}  // namespace quillon::cart
