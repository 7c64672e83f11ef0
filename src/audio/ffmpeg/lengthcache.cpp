#include "audio/ffmpeg/lengthcache.h"

#include <algorithm>

namespace quillon::audio {

LengthCache::LengthCache(std::size_t capacity) : m_capacity(std::max<std::size_t>(capacity, 1)) {}

std::optional<KnownLength> LengthCache::find(const FileIdentity& file) {
  std::lock_guard lock(m_mutex);
  const auto found = m_byPath.find(file.path);
  if (found == m_byPath.end()) return std::nullopt;
  if (!(found->second->first == file)) {  // the file changed: the entry is stale
    m_entries.erase(found->second);
    m_byPath.erase(found);
    return std::nullopt;
  }
  m_entries.splice(m_entries.begin(), m_entries, found->second);
  return found->second->second;
}

void LengthCache::store(const FileIdentity& file, KnownLength length) {
  std::lock_guard lock(m_mutex);
  if (const auto found = m_byPath.find(file.path); found != m_byPath.end()) {
    m_entries.erase(found->second);
    m_byPath.erase(found);
  }
  m_entries.emplace_front(file, length);
  m_byPath[file.path] = m_entries.begin();
  if (m_entries.size() > m_capacity) {
    m_byPath.erase(m_entries.back().first.path);
    m_entries.pop_back();
  }
}

std::size_t LengthCache::size() const {
  std::lock_guard lock(m_mutex);
  return m_entries.size();
}

}  // namespace quillon::audio
