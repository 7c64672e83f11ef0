// Which letter a MIDI message presses: note-on with a velocity above 0 of
// notes firstNote to firstNote + 25 fires "A" to "Z", on every channel or on
// one. A note-off, or a note-on of velocity 0 (the usual note-off in running
// status), presses nothing, so one key of a controller is one press.
// Any thread: it runs on the MIDI thread, which under JACK is the audio
// server's process thread, so it never allocates, locks or blocks.
#pragma once

#include <cstddef>
#include <optional>

#include "common/cartset.h"

namespace quillon::remote {

class MidiMapping {
 public:
  static constexpr int kLetters = kCartCount;

  // `firstNote` 0..102; `channel` 1..16, or 0 for any channel. Values out of
  // range fall back to 36 and any channel.
  MidiMapping(int firstNote = 36, int channel = 0) noexcept;

  // The letter 'A'..'Z' that the message presses, if any. any thread
  std::optional<char> letterOf(const unsigned char* bytes, std::size_t size) const noexcept;

  int firstNote() const { return m_firstNote; }
  int channel() const { return m_channel; }

 private:
  int m_firstNote;
  int m_channel;
};

}  // namespace quillon::remote
