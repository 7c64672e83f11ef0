#include "app/onairlist.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "cart/displayvalues.h"

namespace quillon::app {

namespace {

bool endsWithAudioType(std::string_view title, std::size_t& stem) {
  constexpr std::array<std::string_view, 4> kEndings = {".mp3", ".wav", ".wma", ".ogg"};
  if (title.size() <= 4) return false;
  std::string ending(title.substr(title.size() - 4));
  std::transform(ending.begin(), ending.end(), ending.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (std::find(kEndings.begin(), kEndings.end(), ending) == kEndings.end()) return false;
  stem = title.size() - 4;
  return true;
}

bool continuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string shortTitle(std::string_view title, std::size_t maxChars) {
  std::size_t stem = title.size();
  endsWithAudioType(title, stem);
  title = title.substr(0, stem);
  std::size_t chars = 0;
  for (std::size_t i = 0; i < title.size(); ++i) {
    if (continuationByte(title[i])) continue;
    if (chars == maxChars) {
      // Cut before this character, and a space left at the cut goes too.
      std::string cut(title.substr(0, i));
      while (!cut.empty() && cut.back() == ' ') cut.pop_back();
      return cut + "…";
    }
    ++chars;
  }
  return std::string(title);
}

void OnAirList::update(int index, const OnAirCart& cart) {
  const auto at = std::find_if(m_entries.begin(), m_entries.end(),
                               [index](const OnAirEntry& e) { return e.index == index; });
  if (!cart.playing) {
    if (at != m_entries.end()) m_entries.erase(at);
    return;
  }
  const std::int64_t leftMs = std::max<std::int64_t>(cart.totalMs - cart.shownMs, 0);
  OnAirEntry entry;
  entry.index = index;
  entry.paused = cart.paused;
  entry.ending = !cart.loops && leftMs <= m_endingMs;
  std::string title = shortTitle(cart.title);
  entry.text = cart.letter + " " + (title.empty() ? "" : title + " ") + cart::timeLeftText(leftMs);
  if (at != m_entries.end()) {
    *at = std::move(entry);
  } else {
    m_entries.push_back(std::move(entry));
  }
}

}  // namespace quillon::app
