#include "palette/safewrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>

namespace quillon::palette {
namespace {

namespace fs = std::filesystem;

WriteResult failed(const fs::path& path, const std::string& what, int error) {
  return WriteResult::failure(WriteError::WriteFailed, path.string() + ": " + what + ": " +
                                                           std::system_category().message(error));
}

// Writes all of `bytes` at `offset`; false with errno set when it cannot.
bool writeAllAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t done = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (done < 0 && errno == EINTR) continue;
    if (done < 0) return false;
    if (done == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(done));
    offset += done;
  }
  return true;
}

// A file name beside the target that no one else uses, hidden and short
// enough for any file system however long the target's name.
std::string temporaryName(const fs::path& target) {
  static std::atomic<unsigned> counter{0};  // relaxed: only uniqueness matters
  const auto ticks =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  char suffix[64];
  std::snprintf(suffix, sizeof suffix, ".%d.%u.%llx.tmp", static_cast<int>(::getpid()),
                counter.fetch_add(1, std::memory_order_relaxed), ticks & 0xFFFFFF);
  return "." + target.filename().string().substr(0, 64) + suffix;
}

int createTemporary(const fs::path& target, mode_t mode, fs::path& created) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < 100; ++attempt) {
    created = folder / temporaryName(target);
    const int fd =
        ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;  // errno is EEXIST
}

// Makes the temporary file's owner and permissions those of the old file.
bool matchIdentity(int fd, const struct stat& old) {
  struct stat mine {};
  if (::fstat(fd, &mine) != 0) return false;
  // Owner first: changing it can clear set-id bits that the mode then restores.
  if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid) &&
      ::fchown(fd, old.st_uid, old.st_gid) != 0) {
    return false;
  }
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// The rename is only durable once the folder is flushed. The new contents
// are already whole on disk and the old file is whole until then, so a
// failure here leaves either version, never a mixture: not worth reporting.
void flushFolder(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The file a save through `path` replaces: `path` itself or, for a symbolic
// link, the end of its chain of links, which need not exist yet (it is then
// created, if its folder exists). The link itself is never replaced. 0, or
// the errno that stopped the walk.
int followLinks(const fs::path& path, fs::path& target) {
  constexpr int kMaxLinks = 40;  // as the kernel allows in one path
  target = path;
  for (int links = 0;; ++links) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) return errno == ENOENT ? 0 : errno;
    if (!S_ISLNK(info.st_mode)) return 0;
    if (links == kMaxLinks) return ELOOP;
    std::error_code error;
    const fs::path next = fs::read_symlink(target, error);
    if (error) return error.value();
    // Relative to the link's folder; ".." is left to the kernel, which
    // follows the folder's own links first.
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
}

WriteResult inPlaceInstead(const fs::path& target, std::string_view bytes, const std::string& why,
                           int error) {
  WriteResult result = rewriteInPlace(target, bytes);
  if (result) return result;
  return WriteResult::failure(
      WriteError::WriteFailed,
      result.message() + " (and " + why + ": " + std::system_category().message(error) + ")");
}

}  // namespace

WriteResult rewriteInPlace(const fs::path& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return failed(path, "cannot open the file for writing", errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    ::close(fd);
    return failed(path, "cannot examine the file", error);
  }
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return WriteResult::failure(WriteError::WriteFailed, path.string() + ": not a regular file");
  }
  const auto oldSize = static_cast<std::size_t>(info.st_size);
  const std::size_t common = std::min(oldSize, bytes.size());

  if (bytes.size() > oldSize &&
      !writeAllAt(fd, bytes.substr(oldSize), static_cast<off_t>(oldSize))) {
    const int error = errno;
    const bool restored = ::ftruncate(fd, static_cast<off_t>(oldSize)) == 0;
    ::close(fd);
    return failed(path,
                  restored ? "cannot enlarge the file (left unchanged)"
                           : "cannot enlarge the file (its old contents are intact, its old "
                             "length could not be restored)",
                  error);
  }
  if (!writeAllAt(fd, bytes.substr(0, common), 0) ||
      (bytes.size() < oldSize && ::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) ||
      ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    return failed(path, "rewriting the file failed part way", error);
  }
  if (::close(fd) != 0) return failed(path, "rewriting the file failed", errno);
  return WriteResult::success();
}

WriteResult replaceFileContents(const fs::path& path, std::string_view bytes) {
  fs::path target;
  if (const int error = followLinks(path, target); error != 0) {
    return failed(path, "cannot follow the link", error);
  }
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return failed(target, "cannot reach the file", errno);
  if (exists && !S_ISREG(old.st_mode)) {
    return WriteResult::failure(WriteError::WriteFailed, target.string() + ": not a regular file");
  }
  // The folder's permission would let a rename replace a file that its owner
  // made read-only: that protection is honoured here.
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    return failed(target, "the file may not be written", errno);
  }
  // A second name of the same file would keep the old contents after a
  // rename: such a file is rewritten where it is.
  if (exists && old.st_nlink > 1) return rewriteInPlace(target, bytes);

  fs::path temporary;
  const int fd = createTemporary(target, exists ? 0600 : 0666, temporary);
  if (fd < 0) {
    const int error = errno;
    if (exists) return inPlaceInstead(target, bytes, "no new file in its folder", error);
    return failed(target, "cannot create the file", error);
  }
  if (exists && !matchIdentity(fd, old)) {
    const int error = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return inPlaceInstead(target, bytes, "cannot give a new file its owner and permissions", error);
  }
  if (!writeAllAt(fd, bytes, 0) || ::fsync(fd) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    return failed(target, "cannot write the new contents (file left unchanged)", error);
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    return failed(target, "cannot write the new contents (file left unchanged)", error);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    if (exists && (error == EACCES || error == EPERM)) {
      return inPlaceInstead(target, bytes, "cannot replace the file", error);
    }
    return failed(target, "cannot replace the file (left unchanged)", error);
  }
  flushFolder(target);
  return WriteResult::success();
}

}  // namespace quillon::palette
