#include "palette/boundedread.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace quillon::palette {
namespace {

FileBytes unreadable(const std::filesystem::path& path, const std::string& why) {
  return {FileState::Unreadable, {}, path.string() + ": " + why};
}

std::string errnoText(int error) { return std::system_category().message(error); }

}  // namespace

bool isReadableRegularFile(const std::filesystem::path& path) {
  // stat first, so that nothing but a regular file is ever opened (opening a
  // device can act on it); O_NONBLOCK for one swapped in meanwhile.
  struct stat info {};
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

FileBytes readFileBounded(const std::filesystem::path& path, std::size_t maxBytes) {
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return {};
    return unreadable(path, errnoText(error));
  }
  FileBytes result;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    result = unreadable(path, errnoText(errno));
  } else if (!S_ISREG(info.st_mode)) {
    result = unreadable(path, "not a regular file");
  } else {
    result.state = FileState::Read;
    // The size can change under us; read to the end, one byte past the bound.
    std::string& bytes = result.bytes;
    bytes.resize(std::min<std::size_t>(static_cast<std::size_t>(info.st_size), maxBytes) + 1);
    std::size_t filled = 0;
    while (true) {
      if (filled == bytes.size()) {
        if (bytes.size() > maxBytes) break;
        bytes.resize(std::min(bytes.size() * 2, maxBytes + 1));
      }
      const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        result = unreadable(path, errnoText(errno));
        break;
      }
      if (got == 0) break;
      filled += static_cast<std::size_t>(got);
    }
    if (result.state == FileState::Read) {
      if (filled > maxBytes) {
        result = unreadable(path, "larger than " + std::to_string(maxBytes) + " bytes");
      } else {
        bytes.resize(filled);
      }
    }
  }
  ::close(fd);
  return result;
}

}  // namespace quillon::palette
