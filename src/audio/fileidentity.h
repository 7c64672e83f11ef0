// What tells one version of a file from another: a value learned for one
// identity (a length, a loudness) holds as long as the file keeps it.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quillon::audio {

struct FileIdentity {
  std::string path;
  std::int64_t size = 0;
  std::int64_t modifiedNs = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;

  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The identity of the regular file at `path` now; nothing, with `error`,
// when it cannot be read or is not a regular file. Any thread.
std::optional<FileIdentity> identityOf(const std::string& path, std::string& error);
// The identity `status` (from stat or fstat of `path`) gives.
FileIdentity identityFrom(const std::string& path, const struct stat& status);

}  // namespace quillon::audio
