// The panic fade of a cart: from the level heard down to silence at a fixed
// time after the press, after which the cart feeds nothing more.
//
// The fade is planned on the time line of what is heard: frame k after the
// press. Blocks already waiting at the player when it starts play as they
// are (they cannot be changed any more), so the line runs from full level at
// the first frame fed to silence at the planned end. When the player drops
// frames that were waiting (a pause, a loop restart, a jump), the frames fed
// next take their place on the time line: silence still falls on time, a
// pause only holding it. UI thread (part of a cart).
#pragma once

#include "audio/audioformat.h"

namespace quillon::cart {

class FadeToSilence {
 public:
  // Silence `frames` frames from now; `waiting` frames were queued before.
  void start(audio::FrameCount frames, audio::FrameCount waiting);
  void cancel() { m_end = 0; }

  bool running() const { return m_end > 0; }
  // Every frame up to silence has been fed: nothing more is to be played.
  bool finished() const { return running() && m_next >= m_end; }

  // Scales the next block fed along the fade and cuts off what would fall
  // after its end.
  void shape(audio::AudioBlock& block);
  // The player dropped `frames` frames that were waiting, unheard.
  void dropped(audio::FrameCount frames);

 private:
  audio::FrameCount m_end = 0;   // the frame of silence after the press; 0: no fade
  audio::FrameCount m_next = 0;  // where the next frame fed will be heard
  audio::FrameCount m_rampStart = 0;
};

}  // namespace quillon::cart
