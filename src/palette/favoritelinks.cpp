#include "palette/favoritelinks.h"

#include <algorithm>
#include <limits>
#include <system_error>
#include <utility>

#include "palette/boundedread.h"
#include "palette/inifile.h"
#include "palette/inisyntax.h"
#include "palette/palettenames.h"

namespace quillon::palette {

namespace {

// The favourite number of a "FavorisLink" key: a decimal number written
// without sign, leading zero or other text, as the program writes them.
std::size_t linkNumberOf(std::string_view key) {
  if (key.empty() || key.size() > 18 || key.front() == '0') return 0;
  std::size_t number = 0;
  for (const char c : key) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + static_cast<std::size_t>(c - '0');
  }
  return number;
}

}  // namespace

bool canOpenForReading(const std::string& path) { return isReadableRegularFile(path); }

std::size_t favoriteCountOf(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  std::size_t count = 0;
  constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    const auto digit = static_cast<std::size_t>(text[i] - '0');
    count = count > (kMax - digit) / 10 ? kMax : count * 10 + digit;
  }
  return count;
}

void FavoriteLinks::LoadFavorites(const IniDocument& config, const ExistenceTest& exists) {
  EmptyFavorites();
  const std::size_t announced =
      favoriteCountOf(config.value(kFavoritesSection, kFavoritesCountKey));
  if (announced == 0) return;

  // Only the keys the file holds, however large Nb is.
  const std::string linksSection = foldName(kFavoriteLinksSection);
  std::vector<std::pair<std::size_t, std::string>> stored;
  for (IniEntry& entry : config.entries()) {
    if (foldName(entry.section) != linksSection) continue;
    const std::size_t k = linkNumberOf(entry.key);
    if (k == 0 || k > announced) continue;
    stored.emplace_back(k, std::move(entry.value));
  }
  std::stable_sort(stored.begin(), stored.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [k, path] : stored) {
    if (exists(path)) add(path);  // a missing file is dropped silently
  }
}

void FavoriteLinks::LoadFavorites(const std::filesystem::path& configIni,
                                  const ExistenceTest& exists) {
  LoadFavorites(IniFile::load(configIni).document(), exists);
}

WriteResult FavoriteLinks::SaveFavorites(const std::filesystem::path& configIni) const {
  IniFile file = IniFile::load(configIni);
  // A path the file cannot hold is left out and the others close up behind
  // it; it stays listed for this run (see unstorable()).
  std::size_t stored = 0;
  for (std::size_t k = 1; k < m_links.size(); ++k) {
    if (!isWritableValue(m_links[k])) continue;
    if (WriteResult r = file.set(kFavoriteLinksSection, std::to_string(++stored), m_links[k]); !r) {
      return r;
    }
  }
  if (WriteResult r = file.set(kFavoritesSection, kFavoritesCountKey, std::to_string(stored)); !r) {
    return r;
  }
  // A first run of an installed program may not have its folder yet; a
  // failure here shows in save()'s result.
  std::error_code ignored;
  if (configIni.has_parent_path())
    std::filesystem::create_directories(configIni.parent_path(), ignored);
  return file.save();
}

WriteResult FavoriteLinks::clearAndStore(const std::filesystem::path& configIni) {
  EmptyFavorites();
  return WriteIni(configIni, kFavoritesSection, kFavoritesCountKey, "0");
}

std::vector<std::string> FavoriteLinks::unstorable() const {
  std::vector<std::string> paths;
  for (std::size_t k = 1; k < m_links.size(); ++k) {
    if (!isWritableValue(m_links[k])) paths.push_back(m_links[k]);
  }
  return paths;
}

std::size_t FavoriteLinks::add(const std::string& path) {
  if (const std::size_t k = find(path); k != 0) return k;
  m_links.push_back(path);
  return m_links.size() - 1;
}

std::size_t FavoriteLinks::find(const std::string& path) const {
  if (path.empty()) return 0;
  const auto it = std::find(m_links.begin() + 1, m_links.end(), path);
  return it == m_links.end() ? 0 : static_cast<std::size_t>(it - m_links.begin());
}

const std::string& FavoriteLinks::link(std::size_t k) const {
  return k < m_links.size() ? m_links[k] : m_links[0];
}

std::vector<std::string> favoriteEntryTexts(const FavoriteLinks& links) {
  std::vector<std::string> names;
  for (std::size_t k = 1; k <= links.count(); ++k) {
    names.push_back(onOneLine(favoriteDisplayName(links.link(k))));
  }
  std::vector<std::string> texts = names;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (std::count(names.begin(), names.end(), names[i]) < 2) continue;
    const std::string& path = links.link(i + 1);
    const std::size_t start = fileNameStart(path);
    const std::string folder = start == 0 ? std::string() : path.substr(0, start - 1);
    texts[i] += " (" + onOneLine(folder) + ")";
  }
  return texts;
}

std::string favoritesNotStoredMessage(const FavoriteLinks& links, const WriteResult& lastWrite) {
  if (!lastWrite) return "The favourites could not be stored: " + lastWrite.message();
  const std::vector<std::string> left = links.unstorable();
  if (left.empty()) return {};
  std::string text = "A favourite could not be stored: \"" +
                     onOneLine(favoriteDisplayName(left.front())) + "\" (" +
                     std::string(whyNotWritable(left.front())) + ")";
  if (left.size() == 1) return text + "; it stays listed until the program ends.";
  return text + ", and " + std::to_string(left.size() - 1) +
         " more; they stay listed until the program ends.";
}

}  // namespace quillon::palette
