// Exact lengths already counted, so that firing a cart does not count again
// what binding it counted. An entry holds for one identity of a file (path,
// size, modification time, device, inode): a file changed since is counted
// afresh. Keeps the most recently used entries up to its capacity.
// Any thread: every call takes the cache's mutex.
#pragma once

#include <cstddef>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "audio/audioformat.h"
#include "audio/ffmpeg/fileinput.h"

namespace quillon::audio {

struct KnownLength {
  FrameCount frames = 0;
  AudioFormat format;
};

class LengthCache {
 public:
  // Far more than the carts of a few palettes.
  static constexpr std::size_t kDefaultCapacity = 1024;

  explicit LengthCache(std::size_t capacity = kDefaultCapacity);

  std::optional<KnownLength> find(const FileIdentity& file);  // any thread
  void store(const FileIdentity& file, KnownLength length);   // any thread
  std::size_t size() const;                                   // any thread

 private:
  using Entry = std::pair<FileIdentity, KnownLength>;

  const std::size_t m_capacity;
  mutable std::mutex m_mutex;
  std::list<Entry> m_entries;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> m_byPath;
};

}  // namespace quillon::audio
