// Loudness already measured, kept on disk between runs so that a palette of
// known files binds with no analysis. An entry holds for one identity of a
// file (path, size, modification time, device, inode): a file changed since
// is measured afresh. The file is a text file of one entry a line; every
// field of every line is checked when it is read, a damaged line is dropped
// (and the file rewritten without it at the next store), and the file is
// replaced whole through a temporary file, so a crash never leaves half of it.
// Any thread: every call takes the cache's mutex.
#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "audio/fileidentity.h"
#include "audio/loudness.h"

namespace quillon::audio {

struct LoudnessEntry {
  FileIdentity file;
  LoudnessMeasurement loudness;
};

// The file's text; entries whose path cannot be written on one line are left out.
std::string formatLoudnessCache(const std::vector<LoudnessEntry>& entries);
// The valid entries of `text`; nothing at all unless its first line is the
// format's own. `rejected` counts the lines dropped.
std::vector<LoudnessEntry> parseLoudnessCache(std::string_view text, std::size_t& rejected);

// $XDG_CACHE_HOME/quillon/loudness.tsv, or ~/.cache/quillon/loudness.tsv when
// XDG_CACHE_HOME is unset or not an absolute path.
std::filesystem::path defaultLoudnessCacheFile();

class LoudnessCache {
 public:
  // Far more than the files of many palettes; the oldest go first.
  static constexpr std::size_t kCapacity = 5000;

  // The file is read at the first find or store.
  explicit LoudnessCache(std::filesystem::path file);

  std::optional<LoudnessMeasurement> find(const FileIdentity& file);
  // Keeps the entry (replacing any of the same path) and rewrites the file;
  // false, with `error`, when the file could not be written (the entry is
  // kept in memory all the same).
  bool store(const FileIdentity& file, LoudnessMeasurement loudness, std::string& error);

 private:
  void loadOnce();  // with m_mutex held

  const std::filesystem::path m_file;
  std::mutex m_mutex;
  bool m_loaded = false;
  std::vector<LoudnessEntry> m_entries;  // oldest first
};

}  // namespace quillon::audio
