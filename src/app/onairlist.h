// The on-air view's content: the carts playing or paused, in the order they
// started, each as its letter, its title shortened and its time left
// counting down ("C Weather Sting 0:07"); the last seconds are marked so the
// view draws them in the end warning's colour. Plain C++. UI thread.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::app {

// One cart as the view takes it from the cart.
struct OnAirCart {
  bool playing = false;  // playing or paused
  bool paused = false;
  bool loops = false;  // a looping cart never reaches its end
  std::string letter;
  std::string title;
  std::int64_t shownMs = 0;  // the position its running time shows
  std::int64_t totalMs = 0;  // the file's exact length
};

// One line of the view.
struct OnAirEntry {
  int index = 0;     // the cart's
  std::string text;  // "C Weather Sting 0:07"
  bool paused = false;
  // Within the last seconds of a cart that will stop there: the end
  // warning's colour.
  bool ending = false;
  bool operator==(const OnAirEntry&) const = default;
};

// The longest title shown, in characters, before it is cut with "…".
inline constexpr std::size_t kOnAirTitleChars = 18;

// The title without its audio file ending, cut to `maxChars` characters
// (UTF-8, whole characters) with "…" at the cut.
std::string shortTitle(std::string_view title, std::size_t maxChars = kOnAirTitleChars);

class OnAirList {
 public:
  // How close to the end a cart is shown as ending, in seconds.
  explicit OnAirList(int endingSeconds = 5) : m_endingMs(endingSeconds * 1000LL) {}

  // Cart `index` as it is now. A cart that starts joins the end of the
  // list; one that stops leaves it; the others keep their places.
  void update(int index, const OnAirCart& cart);
  // The lines, in the order the carts started.
  const std::vector<OnAirEntry>& entries() const { return m_entries; }

 private:
  std::int64_t m_endingMs;
  std::vector<OnAirEntry> m_entries;
};

}  // namespace quillon::app
