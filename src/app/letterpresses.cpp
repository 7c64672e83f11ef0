#include "app/letterpresses.h"

#include <string_view>

namespace quillon::app {

namespace {

// The letter keys of a US keyboard by their Linux input codes, row by row:
// what the platform's virtual key of a letter is under every layout.
constexpr int kTopRowFirstCode = 16;     // Q
constexpr int kMiddleRowFirstCode = 30;  // A
constexpr int kBottomRowFirstCode = 44;  // Z
constexpr std::string_view kTopRow = "QWERTYUIOP";
constexpr std::string_view kMiddleRow = "ASDFGHJKL";
constexpr std::string_view kBottomRow = "ZXCVBNM";
constexpr std::uint32_t kXKeycodeOffset = 8;

std::optional<char> usLetterAt(std::uint32_t xKeycode) {
  if (xKeycode < kXKeycodeOffset) return std::nullopt;
  const int code = static_cast<int>(xKeycode - kXKeycodeOffset);
  for (const auto& [first, row] : {std::pair{kTopRowFirstCode, kTopRow},
                                   {kMiddleRowFirstCode, kMiddleRow},
                                   {kBottomRowFirstCode, kBottomRow}}) {
    if (code >= first && code < first + static_cast<int>(row.size())) {
      return row[static_cast<std::size_t>(code - first)];
    }
  }
  return std::nullopt;
}

std::size_t indexOf(char capital) { return static_cast<std::size_t>(capital - 'A'); }

}  // namespace

std::optional<char> capitalLetter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return c;
  return std::nullopt;
}

std::optional<char> letterOfKey(std::optional<char> layoutLetter, bool otherScriptLetter,
                                std::optional<char> mappedLatin, std::uint32_t xKeycode) {
  if (layoutLetter) {
    if (auto letter = capitalLetter(*layoutLetter)) return letter;
  }
  if (!otherScriptLetter) return std::nullopt;
  if (mappedLatin) {
    if (auto letter = capitalLetter(*mappedLatin)) return letter;
  }
  return usLetterAt(xKeycode);
}

bool LetterPresses::press(char letter, KeyModifiers modifiers, std::uint64_t time, bool record) {
  const auto capital = capitalLetter(letter);
  if (!capital) return false;
  const std::size_t k = indexOf(*capital);
  const bool repeat = m_down.test(k) || m_releasedAt[k] == time;
  m_down.set(k);
  if (repeat) return false;
  if (record && m_pressed.size() < kMaxWaiting) m_pressed.push_back({*capital, modifiers});
  return true;
}

void LetterPresses::release(char letter, std::uint64_t time) {
  const auto capital = capitalLetter(letter);
  if (!capital) return;
  const std::size_t k = indexOf(*capital);
  m_down.reset(k);
  m_releasedAt[k] = time;
}

std::vector<LetterPress> LetterPresses::takePresses() {
  std::vector<LetterPress> taken;
  taken.swap(m_pressed);
  return taken;
}

void LetterPresses::clear() {
  m_pressed.clear();
  m_down.reset();
  m_releasedAt.fill(kNever);
}

}  // namespace quillon::app
