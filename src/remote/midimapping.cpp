#include "remote/midimapping.h"

namespace quillon::remote {

MidiMapping::MidiMapping(int firstNote, int channel) noexcept
    : m_firstNote(firstNote >= 0 && firstNote <= 127 - (kLetters - 1) ? firstNote : 36),
      m_channel(channel >= 0 && channel <= 16 ? channel : 0) {}

std::optional<char> MidiMapping::letterOf(const unsigned char* bytes,
                                          std::size_t size) const noexcept {
  if (bytes == nullptr || size != 3) return std::nullopt;
  const unsigned status = bytes[0];
  if ((status & 0xF0u) != 0x90u) return std::nullopt;  // not a note-on
  if (m_channel != 0 && static_cast<int>(status & 0x0Fu) + 1 != m_channel) return std::nullopt;
  const int note = bytes[1];
  const int velocity = bytes[2];
  if (note > 127 || velocity > 127 || velocity == 0) return std::nullopt;
  const int index = note - m_firstNote;
  if (index < 0 || index >= kLetters) return std::nullopt;
  return cartLetter(index);
}

}  // namespace quillon::remote
