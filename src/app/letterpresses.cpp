#include "app/letterpresses.h"

namespace quillon::app {

void LetterPresses::press(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter >= 'A' && letter <= 'Z') m_pressed.set(static_cast<std::size_t>(letter - 'A'));
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
