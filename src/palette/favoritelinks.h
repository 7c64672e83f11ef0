// FavoriteLinks: the full paths of the favourite palettes, kept in
// Config.ini's sections "Favoris" ("Nb", the count) and "FavorisLink" (keys
// "1" to Nb). Element 0 is always the empty string, so favourite k is element
// k and the list's entry numbered k shows it. A path is listed at most once,
// which keeps every entry paired with its element. UI thread.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "palette/inidocument.h"
#include "palette/writeresult.h"

namespace quillon::palette {

inline constexpr std::string_view kFavoritesSection = "Favoris";
inline constexpr std::string_view kFavoritesCountKey = "Nb";
inline constexpr std::string_view kFavoriteLinksSection = "FavorisLink";

// The existence test of a favourite: a regular file that can be opened for
// reading. A pipe, a device or a folder is no palette and is never waited on.
bool canOpenForReading(const std::string& path);

// The number of favourites "Nb" announces: its leading whole number; 0 when
// the text is empty, not a number or negative; a number too large for the
// type saturates (only keys that exist are ever read).
std::size_t favoriteCountOf(std::string_view text);

class FavoriteLinks {
 public:
  using ExistenceTest = std::function<bool(const std::string&)>;

  FavoriteLinks() = default;

  // Nothing but element 0.
  void EmptyFavorites() { m_links.assign(1, std::string()); }

  // Empties the list, then appends every stored favourite 1 to Nb whose file
  // passes `exists`, in key order. The document is read once and only its
  // existing keys are looked at, whatever Nb says. A path met twice is kept
  // once.
  void LoadFavorites(const IniDocument& config, const ExistenceTest& exists = canOpenForReading);
  // The same, reading the file (a missing or unreadable file: no favourites).
  void LoadFavorites(const std::filesystem::path& configIni,
                     const ExistenceTest& exists = canOpenForReading);

  // Stores keys 1 to M and "Nb" = M in one write of the whole file; every
  // other line of it stays. Its folder is created when missing. A path that
  // a settings file cannot hold (a line break in a file name) is left out
  // and the others are numbered on without a gap; unstorable() lists them.
  WriteResult SaveFavorites(const std::filesystem::path& configIni) const;
  // The favourites SaveFavorites leaves out, in list order.
  std::vector<std::string> unstorable() const;
  // Clear: the list is emptied and "Nb" = "0" is written at once.
  WriteResult clearAndStore(const std::filesystem::path& configIni);

  // Appends `path` and returns its element number; a path already listed is
  // not added again and its number is returned.
  std::size_t add(const std::string& path);
  // The element number of `path`, or 0 when it is not listed.
  std::size_t find(const std::string& path) const;

  // M, the number of favourites.
  std::size_t count() const { return m_links.size() - 1; }
  // Element k; the empty string for 0 and for a number past the end.
  const std::string& link(std::size_t k) const;
  const std::vector<std::string>& links() const { return m_links; }

 private:
  std::vector<std::string> m_links{std::string()};
};

// The texts of list entries 1 to M, in order (element 0 is entry 1): each
// favourite's display name, and where two names are equal, each of those
// with its folder in brackets, so the operator can tell them apart.
std::vector<std::string> favoriteEntryTexts(const FavoriteLinks& links);

// What the operator is told after a write of the favourites (`lastWrite`):
// empty when every listed favourite is in Config.ini; else which could not
// be stored and why, naming the first. One text for the whole state, so a
// message is shown once and replaced or withdrawn only when this changes.
std::string favoritesNotStoredMessage(const FavoriteLinks& links, const WriteResult& lastWrite);

}  // namespace quillon::palette
