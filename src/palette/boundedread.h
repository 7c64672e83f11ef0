// Reading a settings file whole, within a bound, without ever blocking: a
// path that names a folder, a pipe or a device is refused, not waited on.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace quillon::palette {

// Settings files are a few kilobytes; a larger file is not one of ours.
inline constexpr std::size_t kMaxSettingsFileBytes = 4 * 1024 * 1024;

enum class FileState {
  Missing,     // nothing at that path (or a folder on the way is missing)
  Read,        // bytes holds the whole file
  Unreadable,  // something is there but could not be read whole (see problem)
};

struct FileBytes {
  FileState state = FileState::Missing;
  std::string bytes;
  std::string problem;  // why it is unreadable, for a person to read
};

FileBytes readFileBounded(const std::filesystem::path& path,
                          std::size_t maxBytes = kMaxSettingsFileBytes);

// True when `path` names a regular file (through links) that this process
// may open for reading. Never waits: a pipe, a device or a folder is refused
// without being opened for real.
bool isReadableRegularFile(const std::filesystem::path& path);

}  // namespace quillon::palette
