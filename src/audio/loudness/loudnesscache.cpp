#include "audio/loudness/loudnesscache.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "palette/safewrite.h"

namespace quillon::audio {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kHeader = "quillon-loudness 1";
constexpr int kFields = 7;
// Bounds of a loudness that a measurement can give: anything else is damage.
constexpr double kLowestLufs = -100.0;
constexpr double kHighestLufs = 10.0;
constexpr double kLowestPeak = -200.0;
constexpr double kHighestPeak = 40.0;
// A cache file larger than this is not one we wrote.
constexpr std::uintmax_t kMaxFileBytes = 16u * 1024u * 1024u;

template <typename Number>
bool parseWhole(std::string_view text, Number& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size();
}

bool parseDecimal(std::string_view text, double low, double high, double& out) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(out) &&
         out >= low && out <= high;
}

std::optional<LoudnessEntry> parseLine(std::string_view line) {
  std::string_view fields[kFields];
  for (int i = 0; i < kFields - 1; ++i) {
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  fields[kFields - 1] = line;  // the path, last, may hold anything but a line break
  LoudnessEntry entry;
  if (!parseWhole(fields[0], entry.file.size) || entry.file.size < 0) return std::nullopt;
  if (!parseWhole(fields[1], entry.file.modifiedNs)) return std::nullopt;
  if (!parseWhole(fields[2], entry.file.device)) return std::nullopt;
  if (!parseWhole(fields[3], entry.file.inode)) return std::nullopt;
  if (!parseDecimal(fields[4], kLowestLufs, kHighestLufs, entry.loudness.integratedLufs)) {
    return std::nullopt;
  }
  if (!parseDecimal(fields[5], kLowestPeak, kHighestPeak, entry.loudness.truePeakDbtp)) {
    return std::nullopt;
  }
  if (fields[6].empty() || fields[6].front() != '/' ||
      fields[6].find('\0') != std::string_view::npos) {
    return std::nullopt;
  }
  entry.file.path = std::string(fields[6]);
  return entry;
}

template <typename Number>
void append(std::string& out, Number value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error == std::errc()) out.append(buffer, end);
}

bool writable(const LoudnessEntry& e) {
  return !e.file.path.empty() && e.file.path.find_first_of("\n\r", 0) == std::string::npos &&
         e.file.path.find('\0') == std::string::npos;
}

}  // namespace

std::string formatLoudnessCache(const std::vector<LoudnessEntry>& entries) {
  std::string out(kHeader);
  out += '\n';
  for (const LoudnessEntry& e : entries) {
    if (!writable(e)) continue;
    append(out, e.file.size);
    out += '\t';
    append(out, e.file.modifiedNs);
    out += '\t';
    append(out, e.file.device);
    out += '\t';
    append(out, e.file.inode);
    out += '\t';
    append(out, e.loudness.integratedLufs);
    out += '\t';
    append(out, e.loudness.truePeakDbtp);
    out += '\t';
    out += e.file.path;
    out += '\n';
  }
  return out;
}

std::vector<LoudnessEntry> parseLoudnessCache(std::string_view text, std::size_t& rejected) {
  rejected = 0;
  std::vector<LoudnessEntry> entries;
  std::size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool complete = end != std::string_view::npos;
    if (!complete) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (first) {
      first = false;
      if (line != kHeader || !complete) {
        rejected = 1;  // not our format, or another version of it
        return {};
      }
      continue;
    }
    // A last line without its line break was cut short by a write that
    // did not finish.
    std::optional<LoudnessEntry> entry = complete ? parseLine(line) : std::nullopt;
    if (!entry) {
      ++rejected;
      continue;
    }
    // A path seen twice keeps its later line.
    std::erase_if(entries, [&](const LoudnessEntry& e) { return e.file.path == entry->file.path; });
    entries.push_back(std::move(*entry));
  }
  return entries;
}

fs::path defaultLoudnessCacheFile() {
  const char* xdg = std::getenv("XDG_CACHE_HOME");
  fs::path base;
  if (xdg != nullptr && fs::path(xdg).is_absolute()) {
    base = xdg;
  } else {
    const char* home = std::getenv("HOME");
    base = fs::path(home != nullptr && *home != '\0' ? home : "/tmp") / ".cache";
  }
  return base / "quillon" / "loudness.tsv";
}

LoudnessCache::LoudnessCache(fs::path file) : m_file(std::move(file)) {}

void LoudnessCache::loadOnce() {
  if (m_loaded) return;
  m_loaded = true;
  std::error_code error;
  const std::uintmax_t bytes = fs::file_size(m_file, error);
  if (error || bytes > kMaxFileBytes) return;  // missing or not ours: start afresh
  std::ifstream in(m_file, std::ios::binary);
  if (!in) return;
  std::ostringstream text;
  text << in.rdbuf();
  std::size_t rejected = 0;
  m_entries = parseLoudnessCache(text.str(), rejected);
}

std::optional<LoudnessMeasurement> LoudnessCache::find(const FileIdentity& file) {
  const std::lock_guard lock(m_mutex);
  loadOnce();
  for (const LoudnessEntry& e : m_entries) {
    if (e.file == file) return e.loudness;
  }
  return std::nullopt;
}

bool LoudnessCache::store(const FileIdentity& file, LoudnessMeasurement loudness,
                          std::string& error) {
  const std::lock_guard lock(m_mutex);
  loadOnce();
  std::erase_if(m_entries, [&](const LoudnessEntry& e) { return e.file.path == file.path; });
  m_entries.push_back({file, loudness});
  if (m_entries.size() > kCapacity) {
    m_entries.erase(m_entries.begin(),
                    m_entries.begin() + static_cast<std::ptrdiff_t>(m_entries.size() - kCapacity));
  }
  std::error_code folderError;
  fs::create_directories(m_file.parent_path(), folderError);
  if (folderError) {
    error = m_file.parent_path().string() + ": " + folderError.message();
    return false;
  }
  const palette::WriteResult written =
      palette::replaceFileContents(m_file, formatLoudnessCache(m_entries));
  if (!written) error = written.message();
  return written.ok();
}

}  // namespace quillon::audio
