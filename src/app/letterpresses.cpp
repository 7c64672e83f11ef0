#include "app/letterpresses.h"

#include <optional>

namespace quillon::app {

namespace {

std::optional<std::size_t> indexOf(char letter) {
  if (letter >= 'a' && letter <= 'z') return static_cast<std::size_t>(letter - 'a');
  if (letter >= 'A' && letter <= 'Z') return static_cast<std::size_t>(letter - 'A');
  return std::nullopt;
}

}  // namespace

void LetterPresses::press(char letter, std::uint64_t time) {
  const auto k = indexOf(letter);
  if (!k) return;
  const bool repeat = m_down.test(*k) || m_releasedAt[*k] == time;
  m_down.set(*k);
  if (!repeat) m_pressed.set(*k);
}

void LetterPresses::release(char letter, std::uint64_t time) {
  const auto k = indexOf(letter);
  if (!k) return;
  m_down.reset(*k);
  m_releasedAt[*k] = time;
}

std::string LetterPresses::takeLetter() {
  std::string letter;
  for (int k = 25; k >= 0; --k) {
    if (m_pressed.test(static_cast<std::size_t>(k))) {
      letter = std::string(1, static_cast<char>('A' + k));
      break;
    }
  }
  m_pressed.reset();
  return letter;
}

}  // namespace quillon::app
